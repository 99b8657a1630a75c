// The About window: the program's picture, name, version, a description and
// the credits. The main window opens it modally.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace cn {

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* owner);

  void Form_Load();
  void cmdOK_Click();

 private:
  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* lblDisclaimer = nullptr;
  QPushButton* cmdOK = nullptr;
  // The etched separator: a grey line with a white line under it.
  QFrame* Line1 = nullptr;
  QFrame* Line2 = nullptr;
};

}  // namespace cn
