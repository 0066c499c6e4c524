#include "CodePage.h"

#include <limits>

#include <windows.h>

namespace nerubato {

namespace {

constexpr UINT kCodePage = 932;

} // namespace

bool decodeCodePage932(const char *data, qsizetype size, QString &out)
{
    if (size == 0) {
        out.clear();
        return true;
    }
    if (size > std::numeric_limits<int>::max())
        return false;
    const int length = static_cast<int>(size);
    const int needed =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, data, length, nullptr, 0);
    if (needed <= 0)
        return false;
    out.resize(needed);
    return MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, data, length,
                               reinterpret_cast<wchar_t *>(out.data()), needed) == needed;
}

bool encodeCodePage932(QStringView text, QByteArray &out)
{
    if (text.isEmpty()) {
        out.clear();
        return true;
    }
    if (text.size() > std::numeric_limits<int>::max() / 2)
        return false;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    // No best fit: without it U+00A5 would quietly become a backslash.
    const int needed = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr,
                                           0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault)
        return false;
    out.resize(needed);
    return WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), needed,
                               nullptr, &usedDefault) == needed &&
           !usedDefault;
}

} // namespace nerubato
