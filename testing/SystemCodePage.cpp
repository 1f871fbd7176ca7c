#include "testing/SystemCodePage.h"

#include <iconv.h>

namespace trevo::testing {

namespace {

const char* IconvName(SystemCodePage codePage) {
    switch (codePage) {
        case SystemCodePage::Windows1250:
            return "CP1250";
        case SystemCodePage::Cp852:
            return "CP852";
        default:
            return "ISO-8859-2";
    }
}

std::optional<std::string> Convert(const std::string& in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input = in;
    std::string out(in.size() * 4 + 8, '\0');
    char* inPtr = input.data();
    char* outPtr = out.data();
    size_t inLeft = input.size();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::optional<std::string> SystemDecode(const std::string& bytes, SystemCodePage codePage) {
    return Convert(bytes, "UTF-8", IconvName(codePage));
}

std::optional<std::string> SystemEncode(const std::string& utf8, SystemCodePage codePage) {
    return Convert(utf8, IconvName(codePage), "UTF-8");
}

}  // namespace trevo::testing
