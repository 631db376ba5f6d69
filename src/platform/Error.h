#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pimvesk {

// The one error type of the program. Its message is UTF-8 text meant for the
// error box; the box adds the final ".".
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The messages the user can see, in one place so that every layer words them alike.
std::string NotAnIntegerMessage(std::string_view utf8Text);  // "'%s' は整数ではありません"
std::string CannotWriteMessage(std::string_view path);       // "%s に書き込めません"
std::string CannotReadMessage(std::string_view path);        // "%s を読み込めません"
// The same with the cause in words after it, so that she can tell a full disk
// from a read-only medium: "%s に書き込めません（ディスクの空きが足りません）".
// An `error` of 0 adds nothing.
std::string CannotWriteMessage(std::string_view path, int error);
std::string CannotReadMessage(std::string_view path, int error);
std::string BadDateMessage();

// Text quoted in a message, with each NUL shown as U+FFFD: a message travels
// as a C string, and a NUL would end it there, reason and all.
std::string ShownInMessage(std::string_view utf8Text);  // "日付に変換できない値が渡されました"

}  // namespace pimvesk
