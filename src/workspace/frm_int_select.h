// The intersection dialog: pick two equations of the list and a precision,
// and the search reports where they meet inside the graph window's x range.
#pragma once

#include <QDialog>

class QCloseEvent;
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "analysis/tools.h"
#include "core/progress.h"
#include "workspace/jobs/tool_job.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace cn {

class Host;
class StyledProgressBar;

class frmIntSelect : public QDialog {
  Q_OBJECT

 public:
  // The graph window's x range, xmin then xmax.
  using XRange = std::function<std::pair<std::int16_t, std::int16_t>()>;

  // `equations`: the main window's list at this moment; later changes of the
  // list do not reach the dialog. `xRange` is asked when OK is pressed, so a
  // window redrawn while the dialog is open is the one searched. It deletes
  // itself when closed.
  frmIntSelect(Host& host, const QStringList& equations, XRange xRange, QWidget* parent = nullptr);

  void cmdOK_Click();
  // While a search runs, Cancel (and Esc, and closing the dialog) stops it
  // and the dialog reports nothing; otherwise Cancel closes the dialog.
  void cmdCancel_Click();
  Progress& ProgressBar();
  bool Searching() const { return job_ != nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 signals:
  // A search has ended (run to its end or stopped).
  void SearchEnded();
  // A search ran to its end: the rows picked (0-based, in the list as it was
  // when the dialog was filled), their texts and the points found.
  void Found(int first, int second, const QString& a, const QString& b, const std::vector<IntersectPoint>& points);

 private:
  void Form_Load(const QStringList& equations);
  static QString Selected(const QListWidget* list);

  Host& host_;
  XRange xRange_;
  QListWidget* lstEqu1 = nullptr;
  QListWidget* lstEqu2 = nullptr;
  QRadioButton* optMLow = nullptr;
  QRadioButton* optLow = nullptr;
  QRadioButton* optMed = nullptr;
  QRadioButton* optHigh = nullptr;
  StyledProgressBar* prog = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  std::unique_ptr<ToolJob> job_;  // the search under way
  bool closeAfterSearch_ = false;
};

}  // namespace cn
