#include "platform/Error.h"

#include <cerrno>

namespace pimvesk {

namespace {

std::string Cause(int error) {
    switch (error) {
        case 0:
            return "";
        case ENOSPC:
        case EDQUOT:
            return "（ディスクの空きが足りません）";
        case EROFS:
            return "（読み取り専用の場所です）";
        case EACCES:
        case EPERM:
            return "（権限がありません）";
        case EIO:
            return "（入出力エラーです）";
        case ENOENT:
            return "（フォルダーがありません）";
        case ENOTDIR:
            return "（途中にフォルダーでないものがあります）";
        case EISDIR:
            return "（フォルダーです）";
        case EILSEQ:
            return "（CP932 でない文字コードのファイルです）";
        default:
            return "（エラー番号 " + std::to_string(error) + "）";
    }
}

}  // namespace

std::string ShownInMessage(std::string_view utf8Text) {
    std::string shown;
    shown.reserve(utf8Text.size());
    for (char c : utf8Text) {
        if (c == '\0') {
            shown += "\xEF\xBF\xBD";
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string NotAnIntegerMessage(std::string_view utf8Text) {
    return "'" + ShownInMessage(utf8Text) + "' は整数ではありません";
}

std::string CannotWriteMessage(std::string_view path) {
    return std::string(path) + " に書き込めません";
}

std::string CannotReadMessage(std::string_view path) {
    return std::string(path) + " を読み込めません";
}

std::string CannotWriteMessage(std::string_view path, int error) {
    return CannotWriteMessage(path) + Cause(error);
}

std::string CannotReadMessage(std::string_view path, int error) {
    return CannotReadMessage(path) + Cause(error);
}

std::string BadDateMessage() {
    return "日付に変換できない値が渡されました";
}

}  // namespace pimvesk
