#include "support/product_identity.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(ProductIdentity, NamesAndVersionFitTogether) {
    using zu::ProductIdentity;
    EXPECT_EQ(std::wstring(ProductIdentity::fullName),
              std::wstring(ProductIdentity::productName) + L" " + ProductIdentity::versionText);
    EXPECT_EQ(zu::pack_version(ProductIdentity::versionNumber[0], ProductIdentity::versionNumber[1],
                               ProductIdentity::versionNumber[2], ProductIdentity::versionNumber[3]),
              0x0006000500080001ull);
    EXPECT_EQ(std::wstring(ProductIdentity::uninstallKey).substr(std::wstring(ProductIdentity::uninstallKey).rfind(L'\\') + 1),
              ProductIdentity::displayName);
}
