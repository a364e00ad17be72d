#include "pages/ContactID.h"

#include <gtest/gtest.h>

namespace {

const char* Name(TChecksum result) {
    switch (result) {
    case TChecksum::Ok:
        return "Ok";
    case TChecksum::Wrong:
        return "Wrong";
    case TChecksum::Undecodable:
        return "Undecodable";
    }
    return "?";
}

} // namespace

TEST(ContactID, FieldsFollowTheMessageLayout) {
    TContactID message(QStringLiteral("5621181130010051"));
    EXPECT_EQ(message.text(), "5621181130010051");
    EXPECT_EQ(message.account(), "5621");
    EXPECT_EQ(message.qualifier(), "1");
    EXPECT_EQ(message.eventCode(), "130");
    EXPECT_EQ(message.group(), "01");
    EXPECT_EQ(message.zone(), "005");

    message.create(QStringLiteral("56211831"));
    EXPECT_EQ(message.text(), "56211831");
    EXPECT_EQ(message.account(), "5621");
    EXPECT_EQ(message.qualifier(), "3");
    EXPECT_EQ(message.eventCode(), "1");
    EXPECT_EQ(message.group(), "");
    EXPECT_EQ(message.zone(), "");

    message.create(QString());
    EXPECT_EQ(message.account(), "");
    EXPECT_EQ(message.zone(), "");
}

TEST(ContactID, ValidCharacters) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"0123456789ABCDEF", true},
        {"+,/:>", true},
        {"5621181130010051", true},
        {"562118113001005a", false}, // lower case
        {"G", false},
        {"5621 181", false},
        {".", false},
        {"-", false},
        {";", false},
        {"=", false},
        {"Ф", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TContactID::ValidCharacters(QString::fromUtf8(c.text)), c.valid) << c.text;
}

TEST(ContactID, ChecksumMakesTheDigitSumAMultipleOf15) {
    struct Case {
        const char* text;
        TChecksum result;
    };
    const Case cases[] = {
        // digit sum 45 (r = 0) needs "f"
        {"333333333333333F", TChecksum::Ok},
        {"333333333333333f", TChecksum::Ok},
        {"333333333333333E", TChecksum::Wrong},
        // 46 (r = 1) needs "e", 49 (r = 4) "b"
        {"333333333333334E", TChecksum::Ok},
        {"333333333333337b", TChecksum::Ok},
        // 50 (r = 5) needs "a"; "0" would also stand for 10 but is not accepted
        {"333333333333338A", TChecksum::Ok},
        {"333333333333338a", TChecksum::Ok},
        {"3333333333333380", TChecksum::Wrong},
        // 51 (r = 6) needs "9"; 52 needs "8", with "a" or "A" among the digits counting 10
        {"3333333333333399", TChecksum::Ok},
        {"33333333333333A8", TChecksum::Ok},
        {"33333333333333a8", TChecksum::Ok},
        {"33333333333333A9", TChecksum::Wrong},
        // a panel record: sum 74 (r = 14) needs "1"
        {"5621181130010051", TChecksum::Ok},
        {"5621181130010052", TChecksum::Wrong},
        // "0" counts 10: 1 + 14 * 10 = 141 (r = 6) needs "9", not the "e" of a sum of 1
        {"1000000000000009", TChecksum::Ok},
        {"100000000000000E", TChecksum::Wrong},
        // only the first 16 characters count
        {"333333333333333FXYZ", TChecksum::Ok},
        // character 16 need not be a digit to be compared
        {"333333333333333:", TChecksum::Wrong},
        // characters the check cannot value
        {"56211811300100,1", TChecksum::Undecodable},
        {"+621181130010051", TChecksum::Undecodable},
        {"5621181130010G51", TChecksum::Undecodable},
        {"333333333333333", TChecksum::Undecodable}, // no checksum character
        {"", TChecksum::Undecodable},
    };
    for (const Case& c : cases) {
        const TChecksum got = TContactID(QString::fromUtf8(c.text)).ChecksumOk();
        EXPECT_EQ(got, c.result) << c.text << " gave " << Name(got);
    }
}
