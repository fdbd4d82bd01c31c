#include "watch/Products.h"

namespace tesk {

std::vector<const char*> allStatsCodes() {
    std::vector<const char*> codes;
    for (const Product& product : kProducts) {
        if (!product.warcraftIII) {
            codes.insert(codes.begin(), product.code);
        }
    }
    return codes;
}

std::string productName(const std::string& code) {
    for (const Product& product : kProducts) {
        if (code == product.code) {
            return product.heading;
        }
    }
    return code;
}

std::string statsHeading(const std::string& code) {
    return productName(code) + " statistics:";
}

}  // namespace tesk
