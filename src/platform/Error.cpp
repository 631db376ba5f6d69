#include "platform/Error.h"

namespace pimvesk {

std::string NotAnIntegerMessage(std::string_view utf8Text) {
    return "'" + std::string(utf8Text) + "' は整数ではありません";
}

std::string CannotWriteMessage(std::string_view path) {
    return std::string(path) + " に書き込めません";
}

std::string CannotReadMessage(std::string_view path) {
    return std::string(path) + " を読み込めません";
}

std::string BadDateMessage() { return "日付に変換できない値が渡されました"; }

}  // namespace pimvesk
