// The About window: its texts, the version line, the picture and the etched
// separator as they appear on screen.
#include "output/frm_about.h"

#include <gtest/gtest.h>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "output/program_picture.h"
#include "output/version_text.h"
#include "support/expected_version.h"

namespace cn {
namespace {

TEST(VersionText, MajorAndBuildWithoutTheMinor) {
  const struct {
    int major, build;
    const char* text;
  } cases[] = {
      {1, 31, "Version 1 Build 31"},
      {2, 7, "Version 2 Build 7"},
      {10, 0, "Version 10 Build 0"},
      {0, 1024, "Version 0 Build 1024"},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionText(c.major, c.build), c.text);
}

class AboutWindow : public ::testing::Test {
 protected:
  frmAbout window{nullptr};
  QLabel* Label(const char* name) {
    QLabel* label = window.findChild<QLabel*>(name);
    EXPECT_NE(label, nullptr) << name;
    return label;
  }
};

TEST_F(AboutWindow, Texts) {
  EXPECT_EQ(window.windowTitle(), "Curvenest");
  EXPECT_EQ(Label("lblTitle")->text(), "Curvenest");
  EXPECT_EQ(Label("lblVersion")->text(), ExpectedVersion());
  EXPECT_GT(Label("lblDescription")->text().size(), 80);
  const QString credits = Label("lblDisclaimer")->text();
  EXPECT_TRUE(credits.startsWith("Credits: ")) << credits.toStdString();
  EXPECT_TRUE(credits.contains("clsExprParser")) << credits.toStdString();
  EXPECT_EQ(window.findChild<QPushButton*>("cmdOK")->text(), "OK");
}

TEST_F(AboutWindow, TitleIsLargeAndSerif) {
  const QFont font = Label("lblTitle")->font();
  EXPECT_EQ(font.styleHint(), QFont::Serif);
  EXPECT_GE(QFontInfo(font).pointSizeF(), 1.5 * QFontInfo(Label("lblVersion")->font()).pointSizeF());
}

TEST_F(AboutWindow, PictureIs64PixelsSquare) {
  const QPixmap picture = Label("picIcon")->pixmap();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(64, 64));
  // Paper in the middle of each quadrant is white or a curve or grid colour,
  // never transparent; the corners, outside the rounded paper, are.
  const QImage image = picture.toImage();
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(63, 63)), 0);
  EXPECT_EQ(qAlpha(image.pixel(12, 12)), 255);
  EXPECT_EQ(qAlpha(image.pixel(50, 50)), 255);
}

TEST(ProgramPicture, AnySizeIsSquareAndNeverEmpty) {
  for (int size : {1, 16, 48, 64, 256}) EXPECT_EQ(ProgramPicture(size).size(), QSize(size, size));
  EXPECT_EQ(ProgramPicture(0).size(), QSize(1, 1));
  EXPECT_EQ(ProgramPicture(-5).size(), QSize(1, 1));
}

TEST_F(AboutWindow, EtchedSeparatorIsGreyOverWhite) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QImage shot = window.grab().toImage();
  // Look down the middle column for a grey (128, 128, 128) row directly
  // followed by a white one.
  const int x = shot.width() / 2;
  bool found = false;
  for (int y = 0; y + 1 < shot.height() && !found; ++y)
    found = (shot.pixel(x, y) & 0xFFFFFF) == 0x808080 && (shot.pixel(x, y + 1) & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_TRUE(found);
}

TEST_F(AboutWindow, WrappedTextsAreShownWhole) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  for (const char* name : {"lblDescription", "lblDisclaimer"}) {
    QLabel* label = Label(name);
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name;
    EXPECT_TRUE(window.rect().contains(QRect(label->mapTo(&window, QPoint(0, 0)), label->size()))) << name;
  }
}

TEST_F(AboutWindow, OkCloses) {
  window.show();
  QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace cn
