#include "store/LoadReport.h"

#include <algorithm>

namespace pimvesk {

void LoadReport::Add(const std::string& message) {
    if (std::find(messages_.begin(), messages_.end(), message) == messages_.end()) {
        messages_.push_back(message);
    }
}

std::string LoadReport::Text() const {
    std::string text;
    for (const std::string& message : messages_) {
        if (!text.empty()) {
            text += '\n';
        }
        text += message;
    }
    return text;
}

}  // namespace pimvesk
