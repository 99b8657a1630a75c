#include "workspace/frm_int_select.h"
#include "platform/named.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/tools.h"
#include "controls/styled_progress_bar.h"
#include "platform/host.h"

namespace cn {

frmIntSelect::frmIntSelect(Host& host, const QStringList& equations, XRange xRange, QWidget* parent)
    : QDialog(parent), host_(host), xRange_(std::move(xRange)) {
  setObjectName("frmIntSelect");
  setWindowTitle("Select Equations");
  setAttribute(Qt::WA_DeleteOnClose);

  lstEqu1 = Named(new QListWidget, "lstEqu1");
  lstEqu2 = Named(new QListWidget, "lstEqu2");
  optMLow = Named(new QRadioButton("Super Low"), "optMLow");
  optLow = Named(new QRadioButton("Low"), "optLow");
  optMed = Named(new QRadioButton("Medium"), "optMed");
  optHigh = Named(new QRadioButton("High"), "optHigh");
  optMed->setChecked(true);
  prog = Named(new StyledProgressBar, "prog");
  prog->setFixedHeight(16);
  prog->UseSweepLook(/*showText=*/true);
  cmdOK = Named(new QPushButton("OK"), "cmdOK");
  cmdCancel = Named(new QPushButton("Cancel"), "cmdCancel");
  cmdOK->setDefault(true);
  cmdCancel->setAutoDefault(false);
  auto* hint = new QLabel("If you're not getting all answers, lower the level of precesion.");
  hint->setWordWrap(true);

  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel("Select first equation:"), 0, 0);
  lists->addWidget(new QLabel("Select second equation:"), 0, 1);
  lists->addWidget(lstEqu1, 1, 0);
  lists->addWidget(lstEqu2, 1, 1);
  auto* levels = new QHBoxLayout;
  for (QRadioButton* opt : {optMLow, optLow, optMed, optHigh}) levels->addWidget(opt);
  levels->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(levels);
  layout->addWidget(hint);
  layout->addWidget(prog);
  layout->addLayout(buttons);

  connect(cmdOK, &QPushButton::clicked, this, &frmIntSelect::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmIntSelect::cmdCancel_Click);
  Form_Load(equations);
}

void frmIntSelect::Form_Load(const QStringList& equations) {
  lstEqu1->addItems(equations);
  lstEqu2->addItems(equations);
}

Progress& frmIntSelect::ProgressBar() { return *prog; }

QString frmIntSelect::Selected(const QListWidget* list) {
  const QListWidgetItem* item = list->currentItem();
  return item && item->isSelected() ? item->text() : QString();
}

void frmIntSelect::cmdCancel_Click() {
  if (job_) {
    job_->Stop();
    return;
  }
  close();
}

// Esc: stops a running search, else closes as usual.
void frmIntSelect::reject() {
  if (job_) {
    job_->Stop();
    return;
  }
  QDialog::reject();
}

void frmIntSelect::closeEvent(QCloseEvent* event) {
  // A search is running: stop it first; the dialog closes once it has ended.
  if (job_) {
    job_->Stop();
    closeAfterSearch_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void frmIntSelect::cmdOK_Click() {
  const QString first = Selected(lstEqu1);
  const QString second = Selected(lstEqu2);
  if (first.isEmpty() || second.isEmpty()) {
    host_.MessageBox(this, "One or both of the equations is(are) blank.", MessageIcon::kWarning);
    return;
  }
  if (first == second) {
    host_.MessageBox(this, kSameEquationsText, MessageIcon::kWarning);
    return;
  }
  const IntersectLevel level = optHigh->isChecked()  ? IntersectLevel::kHigh
                               : optMed->isChecked() ? IntersectLevel::kMedium
                               : optLow->isChecked() ? IntersectLevel::kLow
                                                     : IntersectLevel::kSuperLow;
  if (job_) return;
  const auto [xmin, xmax] = xRange_();
  closeAfterSearch_ = false;
  cmdOK->setEnabled(false);
  auto points = std::make_shared<std::vector<IntersectPoint>>();
  job_ = std::make_unique<ToolJob>([=, a = first.toStdString(), b = second.toStdString()](Progress& p) {
    *points = FindIntersections(a, b, xmin, xmax, level, &p);
  });
  connect(job_.get(), &ToolJob::ProgressChanged, this, [this](int max, int value) {
    prog->Max(max);
    prog->Value(value);
  });
  const int rows[2] = {lstEqu1->currentRow(), lstEqu2->currentRow()};
  connect(job_.get(), &ToolJob::Finished, this, [this, points, rows, first, second](bool complete) {
    job_.release()->deleteLater();
    cmdOK->setEnabled(true);
    prog->Value(0);
    if (complete) {
      emit Found(rows[0], rows[1], first, second, *points);
      host_.MessageBox(this, QString::fromStdString(IntersectionText(*points)), MessageIcon::kInformation);
      close();
    } else if (closeAfterSearch_) {
      close();
    }
    emit SearchEnded();
  });
  job_->Start();
}

}  // namespace cn
