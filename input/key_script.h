// The keys of a script, as --keys and a kept session spell them: each key of the key table
// stands for itself, and the keys a command line cannot hold as themselves have names.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One key of a --keys script, pressed as if typed.
// The keys beyond characters, by the viewer's own numbers: the window's room maps its
// toolkit's codes to these, and sessions name them by name.
inline constexpr int kKeyLeft = 1;
inline constexpr int kKeyRight = 2;
inline constexpr int kKeyUp = 3;
inline constexpr int kKeyDown = 4;
inline constexpr int kKeyPageUp = 5;
inline constexpr int kKeyPageDown = 6;

struct ScriptKey {
  bool special = false;  // one of the kKey codes (an arrow, a page key), else an ASCII key
  int code = 0;
};

// Reads a --keys script: each key of the key table stands for itself, and <left>, <right>,
// <up>, <down>, <pageup>, <pagedown> and <esc> name the arrows, the page keys and Escape. Returns
// false, with the first key it does not know in *unknown, when the script holds one.
bool parseKeyScript(const std::string& text, std::vector<ScriptKey>* keys, std::string* unknown);

// The keys from `from` on, spelt as --keys takes them.
std::string spellKeys(const std::vector<ScriptKey>& keys, std::size_t from = 0);

// The same for a person to read: a key pressed three times or more in a row is spelt once with
// its count ("p<pagedown>×500"), so that a long script fits a line.
std::string countKeys(const std::vector<ScriptKey>& keys, std::size_t from = 0);
