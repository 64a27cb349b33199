// Names in the order a file manager shows them: Unicode's collation, so that accented and
// other letters come among their own (Ærø.png among the A's), a run of digits compared as the
// number it is (2.png before 10.png), case a lesser difference than the letter (brass before
// Zinc). On Windows, the order Explorer uses. Free of GL.
#pragma once

#include <memory>
#include <string>

struct NameOrder;  // a collator, opened once for its locale

// The order of `locale`: an ICU locale ("de_DE", "sv"); "" for Unicode's root order. A locale
// that cannot be opened gives the root order. On Windows, "" is the user's own order.
std::shared_ptr<const NameOrder> nameOrderFor(const std::string& locale);

// Whether `a` comes before `b` in that order. Names equal in it (but for case or leading zeros,
// say) fall back to their bytes, so that the order is total and the same on every run.
bool comesBefore(const NameOrder& order, const std::string& a, const std::string& b);

// The locale whose order the user's names follow, as POSIX takes it from LC_ALL, LC_COLLATE
// and LANG (null where unset): its language and country ("de_DE" of "de_DE.UTF-8@euro"); ""
// where none is set, or it is C or POSIX, which sort by bytes where a file manager does not.
std::string collationLocale(const char* lcAll, const char* lcCollate, const char* lang);

// Whether `a` comes before `b` in the order of the user's locale.
bool comesBeforeNaturally(const std::string& a, const std::string& b);
