#include "text/Cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, RoundTripsCyrillicAndAscii) {
    const QString text = QStringLiteral("Орвел 11: ВОССТ ёЁ +AD05=");
    const QByteArray bytes = ToCp1251(text);
    EXPECT_EQ(bytes.size(), text.size());                  // one byte a character
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xCE); // 'О' in cp1251
    EXPECT_EQ(FromCp1251(bytes), text);
}

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(ToCp1251(QStringLiteral("a€b中c")), QByteArray("a\x88"
                                                             "b?c"));
    EXPECT_EQ(FromCp1251(QByteArray("x\x98y")), QStringLiteral("x?y"));
}
