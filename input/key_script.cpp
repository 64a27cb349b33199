#include "input/key_script.h"

#include <algorithm>
#include <iterator>

#include "input/keyboard.h"

namespace {

struct KeyName {
  const char* name;
  ScriptKey key;
};

// The keys a command line cannot hold as themselves.
const KeyName kKeyNames[] = {
    {"<left>", {true, kKeyLeft}},     {"<right>", {true, kKeyRight}},
    {"<up>", {true, kKeyUp}},         {"<down>", {true, kKeyDown}},
    {"<pageup>", {true, kKeyPageUp}}, {"<pagedown>", {true, kKeyPageDown}},
    {"<esc>", {false, kEscapeKey}},
};

// The named key at `text[at]`, its name's length in *length; nullptr when none is.
const ScriptKey* namedKey(const std::string& text, std::size_t at, std::size_t* length) {
  for (const KeyName& named : kKeyNames) {
    const std::string name = named.name;
    if (text.compare(at, name.size(), name) == 0) {
      *length = name.size();
      return &named.key;
    }
  }
  return nullptr;
}

// The length of the character that starts at `text[at]`: a whole UTF-8 sequence where one
// stands there, so that a refusal quotes the character and not a piece of it.
std::size_t characterLength(const std::string& text, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  const std::size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t length = 1;
  while (length < wanted && at + length < text.size() &&
         (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

// What to quote of an unknown key at `text[at]`: a name up to its closing '>' if it has one,
// else the character.
std::string unknownKey(const std::string& text, std::size_t at) {
  if (text[at] != '<') {
    return text.substr(at, characterLength(text, at));
  }
  const std::size_t close = text.find('>', at);
  return text.substr(at, close == std::string::npos ? std::string::npos : close - at + 1);
}

}  // namespace

bool parseKeyScript(const std::string& text, std::vector<ScriptKey>* keys, std::string* unknown) {
  keys->clear();
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 1;
    const unsigned char key = static_cast<unsigned char>(text[at]);
    if (const ScriptKey* named = namedKey(text, at, &length)) {
      keys->push_back(*named);
    } else if (isCommandKey(key)) {
      keys->push_back({false, key});
    } else {
      *unknown = unknownKey(text, at);
      return false;
    }
    at += length;
  }
  return true;
}

std::string countKeys(const std::vector<ScriptKey>& keys, std::size_t from) {
  constexpr std::size_t kFewestCounted = 3;
  std::string text;
  for (std::size_t i = from; i < keys.size();) {
    std::size_t run = 1;
    while (i + run < keys.size() && keys[i + run].special == keys[i].special &&
           keys[i + run].code == keys[i].code) {
      ++run;
    }
    const std::string key = spellKeys({keys[i]});
    if (run >= kFewestCounted) {
      text += key + u8"\u00d7" + std::to_string(run);  // the multiplication sign
    } else {
      for (std::size_t k = 0; k < run; ++k) {
        text += key;
      }
    }
    i += run;
  }
  return text;
}

std::string spellKeys(const std::vector<ScriptKey>& keys, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < keys.size(); ++i) {
    const ScriptKey& key = keys[i];
    const auto named = std::find_if(
        std::begin(kKeyNames), std::end(kKeyNames),
        [&](const KeyName& n) { return n.key.special == key.special && n.key.code == key.code; });
    text +=
        named != std::end(kKeyNames) ? named->name : std::string(1, static_cast<char>(key.code));
  }
  return text;
}
