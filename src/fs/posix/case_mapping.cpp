#include "fs/case_mapping.h"

#include <locale.h>
#include <wctype.h>

namespace kw::fs
{
namespace
{

// The C.UTF-8 locale knows the case mapping of all of Unicode; it is opened once and never
// installed globally, so nothing else in the process changes behaviour.
locale_t unicodeLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t {});
    return locale;
}

} // namespace

char32_t lowerCase(char32_t c)
{
    const locale_t locale = unicodeLocale();
    if (locale == locale_t {})
        return c;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
}

} // namespace kw::fs
