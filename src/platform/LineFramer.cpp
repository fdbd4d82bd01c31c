#include "platform/LineFramer.h"

namespace tesk {

namespace {
constexpr const char* kCrLf = "\r\n";
}

LineFramer::LineFramer(std::size_t maxLineBytes) : maxLine_(maxLineBytes == 0 ? 1 : maxLineBytes) {}

void LineFramer::append(const char* data, std::size_t size) {
    buffer_.append(data, size);
}

std::optional<std::string> LineFramer::nextLine() {
    for (;;) {
        const std::size_t end = buffer_.find(kCrLf, scanFrom_ > head_ ? scanFrom_ : head_);
        if (discarding_) {
            if (end == std::string::npos) {
                // Keep a trailing CR: its LF may come with the next read.
                const bool keepCr = buffer_.size() > head_ && buffer_.back() == '\r';
                buffer_.erase(0, keepCr ? buffer_.size() - 1 : buffer_.size());
                head_ = 0;
                scanFrom_ = 0;
                return std::nullopt;
            }
            head_ = end + 2;
            scanFrom_ = head_;
            discarding_ = false;
            compact();
            continue;
        }
        if (end != std::string::npos) {
            const std::size_t length = end - head_;
            std::string line = buffer_.substr(head_, length < maxLine_ ? length : maxLine_);
            head_ = end + 2;
            scanFrom_ = head_;
            compact();
            return line;
        }
        const std::size_t pending = buffer_.size() - head_;
        if (pending > maxLine_) {
            std::string line = buffer_.substr(head_, maxLine_);
            head_ += maxLine_;
            discarding_ = true;
            compact();
            return line;
        }
        // Resume one byte early next time: a CR at the end may pair with the next LF.
        scanFrom_ = buffer_.empty() ? 0 : buffer_.size() - 1;
        return std::nullopt;
    }
}

std::string LineFramer::takeRemainder() {
    std::string rest = discarding_ ? std::string() : buffer_.substr(head_);
    buffer_.clear();
    head_ = 0;
    scanFrom_ = 0;
    discarding_ = false;
    return rest;
}

void LineFramer::compact() {
    // Drop consumed bytes once they dominate, so erasing stays amortised O(1) per byte.
    if (head_ > 4096 && head_ * 2 > buffer_.size()) {
        buffer_.erase(0, head_);
        scanFrom_ = scanFrom_ > head_ ? scanFrom_ - head_ : 0;
        head_ = 0;
    } else if (head_ == buffer_.size()) {
        buffer_.clear();
        head_ = 0;
        scanFrom_ = 0;
    }
}

}  // namespace tesk
