// The printer window against a scripted desktop, and the page that printing
// paints, checked on a PDF rendered back to pixels.
#include "output/frm_print.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "platform/qt_host.h"
#include "support/find_child.h"
#include "support/scripted_host.h"

namespace cn {
namespace {

// A 192 x 96 picture: left half red, right half blue, so a page that shows it
// mirrored, cropped or stretched is told apart from the right one.
QImage TwoColourGraph() {
  QImage image(192, 96, QImage::Format_RGB32);
  image.fill(QColor(255, 0, 0));
  for (int y = 0; y < image.height(); ++y)
    for (int x = image.width() / 2; x < image.width(); ++x) image.setPixel(x, y, qRgb(0, 0, 255));
  return image;
}

class PrintWindow : public ::testing::Test {
 protected:
  ScriptedHost host;
  std::unique_ptr<frmPrint> window;

  void Open(QStringList printers, const QImage& graph = TwoColourGraph()) {
    host.printers = std::move(printers);
    window = std::make_unique<frmPrint>(nullptr, host, graph);
    window->show();
  }
  QComboBox* Printers() { return FindChild<QComboBox>(window.get(), "cmbPrinters"); }
  QStringList Listed() {
    QStringList names;
    for (int i = 0; i < Printers()->count(); ++i) names.push_back(Printers()->itemText(i));
    return names;
  }
  void Click(const char* name) { QTest::mouseClick(FindChild<QPushButton>(window.get(), name), Qt::LeftButton); }
};

TEST_F(PrintWindow, CaptionAndButtons) {
  Open({"Laser"});
  EXPECT_EQ(window->windowTitle(), "Select Printer");
  EXPECT_EQ(window->findChild<QPushButton*>("btnPrint")->text(), "Print");
  EXPECT_EQ(window->findChild<QPushButton*>("btnCancel")->text(), "Cancel");
  EXPECT_FALSE(Printers()->isEditable());
}

TEST_F(PrintWindow, ListsEveryPrinterButOneNamedExactlyFax) {
  const struct {
    QStringList installed;
    QStringList listed;
  } cases[] = {
      {{}, {}},
      {{"Fax"}, {}},
      {{"Fax", "Fax"}, {}},
      {{"Laser"}, {"Laser"}},
      {{"Fax", "Laser", "Inkjet"}, {"Laser", "Inkjet"}},
      // Only the whole, case-sensitive name is left out.
      {{"fax", "FAX", "Fax 2", " Fax", "Fax ", "Office Fax", "Faxe"},
       {"fax", "FAX", "Fax 2", " Fax", "Fax ", "Office Fax", "Faxe"}},
      // The system's order stays, duplicates included.
      {{"Zeta", "Fax", "Alpha", "Zeta"}, {"Zeta", "Alpha", "Zeta"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.installed.join('|').toStdString());
    Open(c.installed);
    EXPECT_EQ(Listed(), c.listed);
    EXPECT_EQ(Printers()->currentIndex(), c.listed.isEmpty() ? -1 : 0);
  }
}

TEST_F(PrintWindow, NoPrinterListedSaysSoAndPrintsNothing) {
  for (const QStringList& installed : {QStringList{}, QStringList{"Fax"}}) {
    host.messages.clear();
    Open(installed);
    Click("btnPrint");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "No printer selected!");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(host.messages[0].title, "Curvenest");
    EXPECT_TRUE(host.printJobs.empty());
    EXPECT_TRUE(window->isVisible());
  }
}

TEST_F(PrintWindow, PrintsTheGraphOnTheChosenPrinterAndStaysOpen) {
  const QImage graph = TwoColourGraph();
  Open({"Fax", "Laser", "Inkjet"}, graph);
  Click("btnPrint");
  Printers()->setCurrentIndex(1);
  Click("btnPrint");
  Click("btnPrint");

  EXPECT_TRUE(host.messages.empty());
  ASSERT_EQ(host.printJobs.size(), 3u);
  const char* expected[] = {"Laser", "Inkjet", "Inkjet"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(host.printJobs[i].printer, expected[i]);
    EXPECT_EQ(host.printJobs[i].image, graph);
    EXPECT_FALSE(host.printJobs[i].documentName.isEmpty());
  }
  EXPECT_TRUE(window->isVisible());
}

TEST_F(PrintWindow, AFailedJobShowsItsDescriptionUnderPrinterError) {
  host.printResults = {"The printer is out of paper.", ""};
  Open({"Laser"});
  Click("btnPrint");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "The printer is out of paper.");
  EXPECT_EQ(host.messages[0].title, "Printer Error!");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kNone);
  EXPECT_TRUE(window->isVisible());

  // The user may try again; this time the job goes through silently.
  Click("btnPrint");
  EXPECT_EQ(host.printJobs.size(), 2u);
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(PrintWindow, CancelClosesTheWindow) {
  Open({"Laser"});
  Click("btnCancel");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Rejected);
  EXPECT_TRUE(host.printJobs.empty());
}

// --- The painted page -------------------------------------------------------

// Renders every page of a PDF at `dpi` with poppler's pdftoppm; empty when
// the tool is missing or fails.
std::vector<QImage> RenderPdf(const QString& pdf, int dpi) {
  const QString tool = QStandardPaths::findExecutable("pdftoppm");
  if (tool.isEmpty()) return {};
  const QString prefix = QFileInfo(pdf).absolutePath() + "/page";
  QProcess process;
  process.start(tool, {"-r", QString::number(dpi), "-png", pdf, prefix});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  std::vector<QImage> pages;
  const QDir dir(QFileInfo(pdf).absolutePath());
  for (const QString& name : dir.entryList({"page*.png"}, QDir::Files, QDir::Name))
    pages.push_back(QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32));
  return pages;
}

bool Near(QRgb pixel, QRgb colour) {
  return std::abs(qRed(pixel) - qRed(colour)) < 40 && std::abs(qGreen(pixel) - qGreen(colour)) < 40 &&
         std::abs(qBlue(pixel) - qBlue(colour)) < 40;
}

// Checks that `page` shows TwoColourGraph() with its top-left corner at
// (left, top) and the given size in page pixels, white around it. A pixel
// within `band` of an edge may be blended and is not judged.
void ExpectGraphAt(const QImage& page, double left, double top, double width, double height, double band = 1.5) {
  const double right = left + width, bottom = top + height, middle = left + width / 2;
  int wrong = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      auto near = [band](double a, double b) { return std::abs(a - b) < band; };
      if (near(cx, left) || near(cx, right) || near(cx, middle) || near(cy, top) || near(cy, bottom)) continue;
      const bool inside = cx > left && cx < right && cy > top && cy < bottom;
      const QRgb expected = !inside ? qRgb(255, 255, 255) : cx < middle ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
      if (!Near(page.pixel(x, y), expected) && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << page.pixel(x, y) << ", expected "
                      << expected;
    }
  }
  EXPECT_EQ(wrong, 0);
}

class PdfPage : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString pdf = dir.filePath("graph.pdf");
  QPrinter printer{QPrinter::HighResolution};

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 15, 10, 10), QPageLayout::Millimeter);
  }
};

TEST_F(PdfPage, GraphSitsAtTheTopLeftOfThePrintableAreaAtItsScreenSize) {
  ASSERT_EQ(PrintImageOn(printer, TwoColourGraph(), "Curvenest"), "");
  const std::vector<QImage> pages = RenderPdf(pdf, 72);
  if (pages.empty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is needed to read the page back";
  ASSERT_EQ(pages.size(), 1u);
  // A4 at 72 dots per inch: 210 x 297 mm = 595.3 x 841.9 points.
  EXPECT_NEAR(pages[0].width(), 595, 1);
  EXPECT_NEAR(pages[0].height(), 842, 1);
  // The margins, 10 mm and 15 mm, are 28.35 and 42.52 points; the picture is
  // as many inches wide as it takes on a screen of the screen's resolution.
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  ExpectGraphAt(pages[0], 10 / 25.4 * 72, 15 / 25.4 * 72, 192 / screen->logicalDotsPerInchX() * 72,
                96 / screen->logicalDotsPerInchY() * 72);
}

TEST_F(PdfPage, ADrawingIsMadeAtThePrinterResolutionAtTheScreenSize) {
  // The same two-colour picture, drawn by the page itself instead of copied.
  QSize given;
  double scale = 0;
  const auto drawing = [&](QPainter& painter, const QSize& pixels, double penScale) {
    given = pixels;
    scale = penScale;
    painter.fillRect(QRectF(0, 0, pixels.width() / 2.0, pixels.height()), Qt::red);
    painter.fillRect(QRectF(pixels.width() / 2.0, 0, pixels.width() / 2.0, pixels.height()), Qt::blue);
  };
  ASSERT_EQ(PrintDrawingOn(printer, QSize(192, 96), drawing, "Curvenest"), "");
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  // Printer dots per screen pixel, and the screen size in printer dots.
  EXPECT_DOUBLE_EQ(scale, printer.logicalDpiX() / screen->logicalDotsPerInchX());
  EXPECT_NEAR(given.width(), 192 * scale, 1);
  EXPECT_NEAR(given.height(), 96 * printer.logicalDpiY() / screen->logicalDotsPerInchY(), 1);
  const std::vector<QImage> pages = RenderPdf(pdf, 72);
  if (pages.empty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is needed to read the page back";
  ASSERT_EQ(pages.size(), 1u);
  ExpectGraphAt(pages[0], 10 / 25.4 * 72, 15 / 25.4 * 72, 192 / screen->logicalDotsPerInchX() * 72,
                96 / screen->logicalDotsPerInchY() * 72);
}

TEST_F(PdfPage, FailuresComeBackAsDescriptions) {
  EXPECT_NE(PrintImageOn(printer, QImage(), "Curvenest"), "");
  printer.setOutputFileName(dir.filePath("no such folder/graph.pdf"));
  EXPECT_NE(PrintImageOn(printer, TwoColourGraph(), "Curvenest"), "");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("no such folder/graph.pdf")));
}

// --- A real print queue -----------------------------------------------------

// With CUPS and cups-pdf set up as a queue named "PDF", a job goes through
// the spooler and lands as a PDF file in the user's ~/PDF folder.
TEST(CupsPdfQueue, PrintsOnePageWithTheGraph) {
  if (!QPrinterInfo::availablePrinterNames().contains("PDF")) GTEST_SKIP() << "no print queue named PDF";
  const QDir out(QDir::homePath() + "/PDF");
  const QStringList before = out.entryList({"*.pdf"}, QDir::Files);
  QtHost host;
  const QString title = QStringLiteral("curvenest-queue-test-%1").arg(QCoreApplication::applicationPid());
  ASSERT_EQ(host.PrintImage("PDF", TwoColourGraph(), title), "");

  QString landed;
  QElapsedTimer clock;
  clock.start();
  while (landed.isEmpty() && clock.elapsed() < 30000) {
    for (const QString& name : out.entryList({"*.pdf"}, QDir::Files))
      if (!before.contains(name) && name.contains(title)) landed = out.filePath(name);
    if (landed.isEmpty()) QThread::msleep(200);
  }
  ASSERT_FALSE(landed.isEmpty()) << "no PDF appeared in " << out.path().toStdString();
  QThread::msleep(500);  // cups-pdf may still be writing
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(landed, dir.filePath("job.pdf")));
  QFile::remove(landed);
  const std::vector<QImage> pages = RenderPdf(dir.filePath("job.pdf"), 72);
  if (pages.empty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is needed to read the page back";
  ASSERT_EQ(pages.size(), 1u);

  // The queue's own margins decide where the printable area starts: find the
  // picture's red top-left corner and check its size from there.
  const QImage& page = pages[0];
  int left = -1, top = -1;
  for (int y = 0; y < page.height() && top < 0; ++y)
    for (int x = 0; x < page.width(); ++x)
      if (Near(page.pixel(x, y), qRgb(255, 0, 0))) {
        left = x;
        top = y;
        break;
      }
  ASSERT_GE(top, 0) << "the graph is not on the page";
  // Top-left placement: within an inch of the corner, not centred.
  EXPECT_LT(left, 72);
  EXPECT_LT(top, 72);
  const QScreen* screen = QGuiApplication::primaryScreen();
  // The spooler's filters redraw the page and may round its picture's edges
  // by a point or so, hence the wider band.
  ExpectGraphAt(page, left, top, 192 / screen->logicalDotsPerInchX() * 72, 96 / screen->logicalDotsPerInchY() * 72,
                2.5);
}

}  // namespace
}  // namespace cn
