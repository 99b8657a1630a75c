// The table of values: the selected equation's (x, y) rows from a start to a
// stop value in a given step, and a copy of them as text.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QListView;
class QStringListModel;
class QPushButton;

namespace cn {

class Host;
class ToolJob;

class frmIO : public QDialog {
  Q_OBJECT

 public:
  // `equation` gives the selected equation's text when Go is pressed. The
  // boxes start from the graph window; the list is built once at once. The
  // window deletes itself when closed.
  frmIO(QWidget* owner, Host& host, std::function<QString()> equation, std::int16_t xmin, std::int16_t xmax,
        float xstep);
  ~frmIO() override;  // stops rows still being made

  // Go makes the rows off the window's thread; Esc or closing stops it.
  void btnGo_Click();
  void btnCopy_Click();
  bool Searching() const { return job_ != nullptr; }

 signals:
  // The rows asked for by Go are there (or the making was stopped).
  void SearchEnded();

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load(std::int16_t xmin, std::int16_t xmax, float xstep);

  Host& host_;
  std::function<QString()> equation_;
  QLineEdit* txtStart = nullptr;
  QLineEdit* txtStop = nullptr;
  QLineEdit* txtStep = nullptr;
  QPushButton* btnGo = nullptr;
  // The rows are the table's own; the list only shows them (a million
  // rows are one model, not a million widgets' items).
  std::vector<std::string> rows_;
  QStringListModel* rowsShown_ = nullptr;
  std::unique_ptr<ToolJob> job_;  // the rows being made
  bool closeAfterSearch_ = false;
  QListView* lstIO = nullptr;
  QPushButton* btnCopy = nullptr;
};

}  // namespace cn
