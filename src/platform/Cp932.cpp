#include "platform/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace pimvesk {

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-8");
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns how many input bytes were consumed.
    size_t Convert(std::string_view in, std::string& out) {
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                break;
            }
        }
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        return in.size() - inLeft;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    while (!cp932.empty()) {
        const size_t used = converter.Convert(cp932, out);
        cp932.remove_prefix(used);
        if (!cp932.empty()) {
            out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not decode
            cp932.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    if (converter.Convert(utf8, out) != utf8.size()) {
        return std::nullopt;
    }
    return out;
}

}  // namespace pimvesk
