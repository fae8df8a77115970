#include "helpbmp/dib/Authoring.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace pix;

TEST(Authoring, NamesInAndOutOfTheToolsBuffer) {
    char buf[32] = "OLDDLL\0pictures\\a.bmp";
    EditNames n = unpackNames(buf, sizeof buf);
    EXPECT_EQ(n.dll, "OLDDLL");
    EXPECT_EQ(n.picture, "pictures\\a.bmp");
    // A buffer that ends right behind the first name holds no picture name.
    EXPECT_EQ(unpackNames(buf, 8).picture, "");
    // A first name without its zero byte is not read beyond the buffer.
    char raw[4] = {'A', 'B', 'C', 'D'};
    EXPECT_EQ(unpackNames(raw, 4).dll, "ABCD");

    EXPECT_TRUE(packNames({"PIX256W", "*c:\\x.bmp"}, buf, 18));
    EXPECT_EQ(std::memcmp(buf, "PIX256W\0*c:\\x.bmp\0", 18), 0);
    char small[17] = "unchanged";
    EXPECT_FALSE(packNames({"PIX256W", "*c:\\x.bmp"}, small, 17));
    EXPECT_STREQ(small, "unchanged");
}

TEST(Authoring, ButtonsFollowTheTypedName) {
    EXPECT_FALSE(editButtons("").ok);
    EXPECT_FALSE(editButtons("*").ok);
    EXPECT_FALSE(editButtons("*").addToBaggage);
    EXPECT_TRUE(editButtons("*a.bmp").ok);
    EXPECT_TRUE(editButtons("*a.bmp").addToBaggage);
    EXPECT_TRUE(editButtons("a.bmp").ok);
    EXPECT_FALSE(editButtons("a.bmp").addToBaggage);
}

TEST(Authoring, DiskNamesInsideTheProjectAreRelative) {
    EXPECT_EQ(diskNameFor("C:\\Proj\\pics\\a.bmp", "c:/proj"), "*pics\\a.bmp");
    EXPECT_EQ(diskNameFor("C:\\Proj\\pics\\a.bmp", "C:\\Proj\\"), "*pics\\a.bmp");
    EXPECT_EQ(diskNameFor("C:\\Project2\\a.bmp", "C:\\Proj"), "*C:\\Project2\\a.bmp");
    EXPECT_EQ(diskNameFor("D:\\a.bmp", "C:\\Proj"), "*D:\\a.bmp");
    EXPECT_EQ(diskNameFor("D:\\a.bmp", ""), "*D:\\a.bmp");
    EXPECT_EQ(fileNameOf("C:\\Proj/pics\\a.bmp"), "a.bmp");
    EXPECT_EQ(fileNameOf("a.bmp"), "a.bmp");
}

TEST(Authoring, PreviewFitsInsideTheFrame) {
    Placement p = fitPreview(190, 190, 400, 100);
    EXPECT_EQ(p.cx, 180);
    EXPECT_EQ(p.cy, 45);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, (190 - 45) / 2);
    p = fitPreview(190, 190, 50, 20); // small pictures keep their size, centred
    EXPECT_EQ(p.cx, 50);
    EXPECT_EQ(p.cy, 20);
    EXPECT_EQ(p.x, 70);
    p = fitPreview(190, 190, 100, 1000);
    EXPECT_EQ(p.cy, 180);
    EXPECT_EQ(p.cx, 18);
}
