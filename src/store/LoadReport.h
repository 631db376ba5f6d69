#pragma once

#include <string>
#include <vector>

namespace pimvesk {

// What a load skipped or could not read, gathered so that the window can show
// one error box for all of it. Messages are UTF-8.
class LoadReport {
public:
    void Add(const std::string& message);
    bool Empty() const { return messages_.empty(); }
    const std::vector<std::string>& Messages() const { return messages_; }
    // The messages one per line.
    std::string Text() const;

private:
    std::vector<std::string> messages_;
};

}  // namespace pimvesk
