// The file dialog control: its properties, the filter and name conversions,
// and the dialogs answered by the scripted host.
#include "controls/open_save_dialog.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "controls/property_bag.h"
#include "support/scripted_host.h"

namespace cn {
namespace {

const QChar kNul(0);

QString WithNuls(const char* text) {  // "|" in the literal stands for NUL
  return QString::fromUtf8(text).replace('|', kNul);
}

TEST(OpenSaveDialog, DefaultsAndThePropertyStore) {
  ScriptedHost host;
  OpenSaveDialog dialog(host, nullptr);
  EXPECT_EQ(dialog.Flags(), 0);
  EXPECT_EQ(dialog.MaxFileSize(), 260);
  EXPECT_EQ(dialog.FilterIndex(), 0);
  EXPECT_FALSE(dialog.CancelError());
  EXPECT_TRUE(dialog.FileName().isEmpty() && dialog.FileTitle().isEmpty() && dialog.DefaultExt().isEmpty() &&
              dialog.InitDir().isEmpty() && dialog.Filter().isEmpty() && dialog.DialogTitle().isEmpty());

  PropertyBag defaults;
  dialog.WriteProperties(defaults);
  EXPECT_TRUE(defaults.Names().isEmpty()) << defaults.Names().join(",").toStdString();

  dialog.Flags(4);
  dialog.MaxFileSize(100);
  dialog.FileTitle("t");
  dialog.FileName("/a/b");
  dialog.DefaultExt("txt");
  dialog.FilterIndex(2);
  dialog.InitDir("/a");
  dialog.Filter("A|*.a|");
  dialog.CancelError(true);
  dialog.DialogTitle("Pick");
  PropertyBag bag;
  dialog.WriteProperties(bag);
  QStringList names = bag.Names();
  names.sort();
  EXPECT_EQ(names, QStringList({"CancelError", "DefaultExt", "DialogTitle", "FileName", "FileTitle", "Filter",
                                "FilterIndex", "Flags", "InitDir", "MaxFileSize"}));

  OpenSaveDialog restored(host, nullptr);
  restored.ReadProperties(*PropertyBag::Load(bag.Save()));
  EXPECT_EQ(restored.Flags(), 4);
  EXPECT_EQ(restored.MaxFileSize(), 100);
  EXPECT_EQ(restored.FileTitle(), "t");
  EXPECT_EQ(restored.FileName(), "/a/b");
  EXPECT_EQ(restored.DefaultExt(), "txt");
  EXPECT_EQ(restored.FilterIndex(), 2);
  EXPECT_EQ(restored.InitDir(), "/a");
  EXPECT_EQ(restored.Filter(), "A|*.a|");
  EXPECT_TRUE(restored.CancelError());
  EXPECT_EQ(restored.DialogTitle(), "Pick");

  // An empty store gives the defaults back.
  restored.ReadProperties(PropertyBag());
  EXPECT_EQ(restored.MaxFileSize(), 260);
  EXPECT_EQ(restored.Flags(), 0);
  EXPECT_FALSE(restored.CancelError());
}

TEST(OpenSaveDialog, FilterAndNameConversions) {
  struct Case {
    const char* filter;
    const char* converted;  // "|" stands for NUL
    const char* desktop;
  };
  for (const Case& c : {Case{"Data File (*.txt)|*.txt|", "Data File (*.txt)|*.txt|||", "Data File (*.txt)"},
                        Case{"A|*.a|B|*.b", "A|*.a|B|*.b||", "A (*.a);;B (*.b)"},
                        Case{"Pictures|*.png;*.bmp|", "Pictures|*.png;*.bmp|||", "Pictures (*.png *.bmp)"}}) {
    const QString converted = OpenSaveDialog::ConvertFilter(c.filter);
    EXPECT_EQ(converted, WithNuls(c.converted)) << c.filter;
    EXPECT_EQ(OpenSaveDialog::DesktopFilter(converted), c.desktop) << c.filter;
  }
  EXPECT_EQ(OpenSaveDialog::StripAtNull(""), "");
  EXPECT_EQ(OpenSaveDialog::StripAtNull("abc"), "abc");
  EXPECT_EQ(OpenSaveDialog::StripAtNull(WithNuls("ab|cd|")), "ab");
  EXPECT_EQ(OpenSaveDialog::StripAtNull(WithNuls("|x")), "");
}

TEST(OpenSaveDialog, ParseMultiFileName) {
  struct Case {
    const char* fileName;  // "|" stands for NUL
    const char* dir;
    QStringList files;
    const char* fileNameAfter;
  };
  ScriptedHost host;
  for (const Case& c : {Case{"/data/points.txt", "/data", {"points.txt"}, "/data/points.txt"},
                        Case{"/data|a.txt|b.txt||", "/data", {"a.txt", "b.txt"}, "/data"},
                        Case{"points.txt", "", {"points.txt"}, "points.txt"},
                        Case{"/points.txt", "", {"/points.txt"}, "/points.txt"}}) {
    OpenSaveDialog dialog(host, nullptr);
    dialog.FileName(WithNuls(c.fileName));
    QString dir;
    QStringList files;
    int count = 0;
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, c.dir) << c.fileName;
    EXPECT_EQ(files, c.files) << c.fileName;
    EXPECT_EQ(count, c.files.size()) << c.fileName;
    EXPECT_EQ(dialog.FileName(), WithNuls(c.fileNameAfter)) << c.fileName;
  }
}

TEST(OpenSaveDialog, AcceptedDialogsSetTheName) {
  ScriptedHost host;
  QWidget owner;
  OpenSaveDialog dialog(host, &owner);
  dialog.DialogTitle("Open Data File");
  dialog.Filter("Data File (*.txt)|*.txt|");
  dialog.InitDir("/home/u");
  host.fileAnswers.push_back(QString("/home/u/data/points.txt"));
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), "/home/u/data/points.txt");
  EXPECT_EQ(dialog.FileTitle(), "points.txt");
  EXPECT_EQ(dialog.FilterIndex(), 1);
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_EQ(host.fileDialogs[0].kind, ScriptedHost::FileDialogKind::kOpen);
  EXPECT_EQ(host.fileDialogs[0].owner, &owner);
  EXPECT_EQ(host.fileDialogs[0].title, "Open Data File");
  EXPECT_EQ(host.fileDialogs[0].dir, "/home/u");
  EXPECT_EQ(host.fileDialogs[0].filter, "Data File (*.txt)");

  OpenSaveDialog save(host, &owner);  // no filter: the index stays 0
  host.fileAnswers.push_back(QString("/tmp/out.txt"));
  save.ShowSave();
  EXPECT_EQ(save.FileName(), "/tmp/out.txt");
  EXPECT_EQ(save.FilterIndex(), 0);
  EXPECT_EQ(host.fileDialogs.back().kind, ScriptedHost::FileDialogKind::kSave);
  EXPECT_EQ(host.fileDialogs.back().filter, "");

  OpenSaveDialog multi(host, &owner);
  multi.Flags(OpenSaveDialog::kAllowMultiSelect);
  host.fileAnswers.push_back(QString("/d/a.txt"));
  multi.ShowOpen();
  EXPECT_EQ(multi.FileName(), WithNuls("/d|a.txt||"));
  QString dir;
  QStringList files;
  int count = 0;
  multi.ParseMultiFileName(dir, files, count);
  EXPECT_EQ(dir, "/d");
  EXPECT_EQ(files, QStringList{"a.txt"});
}

TEST(OpenSaveDialog, CancelKeepsTheNameOrRaises32755) {
  ScriptedHost host;
  OpenSaveDialog dialog(host, nullptr);
  dialog.FileName("/old.txt");
  dialog.ShowOpen();  // the empty queue cancels
  EXPECT_EQ(dialog.FileName(), "/old.txt");
  host.fileAnswers.push_back(QString());  // an empty answer is a cancel too
  dialog.ShowSave();
  EXPECT_EQ(dialog.FileName(), "/old.txt");

  dialog.CancelError(true);
  for (bool open : {true, false}) {
    try {
      open ? dialog.ShowOpen() : dialog.ShowSave();
      ADD_FAILURE() << "no error, open " << open;
    } catch (const OpenSaveDialogError& e) {
      EXPECT_EQ(e.Number(), 32755);
      EXPECT_EQ(e.HelpContext(), 32755);
      EXPECT_EQ(e.Description(), "Cancel was selected.");
    }
  }
  EXPECT_EQ(dialog.FileName(), "/old.txt");
}

}  // namespace
}  // namespace cn
