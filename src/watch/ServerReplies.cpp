#include "watch/ServerReplies.h"

#include "watch/UserName.h"

namespace tesk {

std::string windowKey(const std::string& userName, const char* suffix) {
    std::string folded = userName;
    for (char& c : folded) {
        switch (c) {
            case '[': case ']': case '(': case ')': case '-': case '.': case '#': case '@':
                c = '_';
                break;
            default:
                break;
        }
    }
    return "_" + lowerCaseName(folded) + suffix;
}

}  // namespace tesk
