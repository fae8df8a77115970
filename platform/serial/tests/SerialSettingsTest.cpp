#include "platform/serial/SerialSettings.h"

#include <gtest/gtest.h>

using namespace plax::serial;

TEST(SerialSettings, EveryParityDataBitsAndStopBits) {
    const std::pair<const char*, Parity> parities[] = {
        {"n", Parity::None}, {"e", Parity::Even}, {"o", Parity::Odd}, {"m", Parity::Mark}, {"s", Parity::Space}};
    const std::pair<const char*, StopBits> stops[] = {
        {"1", StopBits::One}, {"1.5", StopBits::OneAndHalf}, {"2", StopBits::Two}};
    for (const auto& [letter, parity] : parities)
        for (int bits = 5; bits <= 8; ++bits)
            for (const auto& [stopText, stop] : stops) {
                const QString text = QStringLiteral("4800,%1,%2,%3").arg(QLatin1String(letter)).arg(bits).arg(
                    QLatin1String(stopText));
                const auto s = parseSettings(text);
                ASSERT_TRUE(s) << text.toStdString();
                EXPECT_EQ(s->baudRate, 4800);
                EXPECT_EQ(s->parity, parity);
                EXPECT_EQ(s->dataBits, bits);
                EXPECT_EQ(s->stopBits, stop);
                EXPECT_EQ(formatSettings(*s), text);
            }
}

TEST(SerialSettings, DefaultAndEverySpeedOfTheSettingsScreen) {
    EXPECT_EQ(parseSettings(kDefaultSettings), LineSettings{});
    for (int baud : {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 56000, 57600, 115200, 128000,
                     256000})
        EXPECT_TRUE(parseSettings(QStringLiteral("%1,n,8,1").arg(baud))) << baud;
    // Upper-case letters and blanks around fields are taken as well.
    EXPECT_EQ(parseSettings(QStringLiteral(" 9600 , N , 8 , 1 ")), LineSettings{});
}

TEST(SerialSettings, InvalidTexts) {
    for (const char* bad : {"", "9600", "9600,n,8", "9600,n,8,1,0", "9601,n,8,1", "abc,n,8,1", "9600,x,8,1",
                            "9600,n,4,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1.0", "9600,,8,1", "-9600,n,8,1"})
        EXPECT_FALSE(parseSettings(QString::fromLatin1(bad))) << bad;
}
