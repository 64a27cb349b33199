#include "files/natural_order.h"

#include <cstdint>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>

#include "files/file_name.h"
#else
#include <unicode/ucol.h>
#endif

namespace {

bool isSet(const char* value) {
  return value != nullptr && value[0] != '\0';
}

}  // namespace

std::string collationLocale(const char* lcAll, const char* lcCollate, const char* lang) {
  const char* chosen = isSet(lcAll) ? lcAll : isSet(lcCollate) ? lcCollate : lang;
  if (!isSet(chosen)) {
    return "";
  }
  std::string locale = chosen;
  locale = locale.substr(0, locale.find_first_of(".@"));
  return locale == "C" || locale == "POSIX" ? "" : locale;
}

bool comesBeforeNaturally(const std::string& a, const std::string& b) {
  static const std::shared_ptr<const NameOrder> order = nameOrderFor(
      collationLocale(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")));
  return comesBefore(*order, a, b);
}

#ifdef _WIN32

struct NameOrder {
  std::wstring locale;  // empty: the user's
};

std::shared_ptr<const NameOrder> nameOrderFor(const std::string& locale) {
  const std::filesystem::path name = pathOf(locale);
  return std::make_shared<NameOrder>(NameOrder{name.wstring()});
}

bool comesBefore(const NameOrder& order, const std::string& a, const std::string& b) {
  const std::wstring x = pathOf(a).wstring();
  const std::wstring y = pathOf(b).wstring();
  const int compared =
      CompareStringEx(order.locale.empty() ? LOCALE_NAME_USER_DEFAULT : order.locale.c_str(),
                      NORM_IGNORECASE | SORT_DIGITSASNUMBERS, x.c_str(), static_cast<int>(x.size()),
                      y.c_str(), static_cast<int>(y.size()), nullptr, nullptr, 0);
  return compared == CSTR_EQUAL || compared == 0 ? a < b : compared == CSTR_LESS_THAN;
}

#else

struct NameOrder {
  UCollator* collator = nullptr;
  ~NameOrder() { ucol_close(collator); }
};

std::shared_ptr<const NameOrder> nameOrderFor(const std::string& locale) {
  auto order = std::make_shared<NameOrder>();
  UErrorCode status = U_ZERO_ERROR;
  order->collator = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    order->collator = ucol_open("", &status);
  }
  ucol_setAttribute(order->collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
  return order;
}

// ICU reads a byte of no UTF-8 character (a Latin-1 name's) as U+FFFD.
bool comesBefore(const NameOrder& order, const std::string& a, const std::string& b) {
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult compared =
      ucol_strcollUTF8(order.collator, a.data(), static_cast<std::int32_t>(a.size()), b.data(),
                       static_cast<std::int32_t>(b.size()), &status);
  return U_FAILURE(status) || compared == UCOL_EQUAL ? a < b : compared == UCOL_LESS;
}

#endif
