#include "workspace/frm_io.h"
#include "platform/named.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include "analysis/tools.h"
#include "core/number_text.h"
#include "platform/host.h"
#include "workspace/jobs/tool_job.h"

namespace cn {

frmIO::frmIO(QWidget* owner, Host& host, std::function<QString()> equation, std::int16_t xmin, std::int16_t xmax,
             float xstep)
    : QDialog(owner), host_(host), equation_(std::move(equation)) {
  setObjectName("frmIO");
  setWindowTitle("Input and Output View");
  setAttribute(Qt::WA_DeleteOnClose);

  txtStart = Named(new QLineEdit, "txtStart");
  txtStop = Named(new QLineEdit, "txtStop");
  txtStep = Named(new QLineEdit, "txtStep");
  btnGo = Named(new QPushButton("Go"), "btnGo");
  lstIO = Named(new QListView, "lstIO");
  rowsShown_ = new QStringListModel(this);
  lstIO->setModel(rowsShown_);
  lstIO->setUniformItemSizes(true);
  lstIO->setEditTriggers(QAbstractItemView::NoEditTriggers);
  btnCopy = Named(new QPushButton("Copy"), "btnCopy");
  // Enter in a box makes the table.
  btnGo->setDefault(true);
  btnCopy->setAutoDefault(false);

  auto* boxes = new QGridLayout;
  boxes->addWidget(new QLabel("Start"), 0, 0);
  boxes->addWidget(txtStart, 0, 1);
  boxes->addWidget(new QLabel("Stop"), 1, 0);
  boxes->addWidget(txtStop, 1, 1);
  boxes->addWidget(new QLabel("Step"), 2, 0);
  boxes->addWidget(txtStep, 2, 1);
  boxes->addWidget(btnGo, 3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addWidget(lstIO);
  layout->addWidget(btnCopy);

  connect(btnGo, &QPushButton::clicked, this, &frmIO::btnGo_Click);
  connect(btnCopy, &QPushButton::clicked, this, &frmIO::btnCopy_Click);
  Form_Load(xmin, xmax, xstep);
}

frmIO::~frmIO() = default;

void frmIO::Form_Load(std::int16_t xmin, std::int16_t xmax, float xstep) {
  txtStart->setText(QString::number(xmin));
  txtStop->setText(QString::number(xmax));
  txtStep->setText(QString::fromStdString(FormatSingle(xstep)));
  btnGo_Click();
}

void frmIO::btnGo_Click() {
  if (job_) return;  // Go is disabled meanwhile
  rows_.clear();
  rowsShown_->setStringList({});
  auto table = std::make_shared<ValueTable>();
  job_ = std::make_unique<ToolJob>([table, equation = equation_().toStdString(), start = txtStart->text().toStdString(),
                                    stop = txtStop->text().toStdString(), step = txtStep->text().toStdString()](
                                       Progress& p) { *table = TableOfValues(equation, start, stop, step, &p); });
  connect(job_.get(), &ToolJob::Finished, job_.get(), [this, table](bool complete) {
    job_.release()->deleteLater();
    btnGo->setEnabled(true);
    if (complete && !table->error.empty()) {
      host_.MessageBox(this, QString::fromStdString(table->error), MessageIcon::kError);
    } else if (complete) {
      rows_ = std::move(table->rows);
      QStringList rows;
      rows.reserve(static_cast<qsizetype>(rows_.size()));
      for (const std::string& row : rows_) rows << QString::fromStdString(row);
      rowsShown_->setStringList(rows);
    }
    emit SearchEnded();
    if (closeAfterSearch_) close();
  });
  btnGo->setEnabled(false);
  job_->Start();
}

void frmIO::reject() {
  // Esc stops the rows being made, else closes as usual.
  if (job_) {
    job_->Stop();
    return;
  }
  QDialog::reject();
}

void frmIO::closeEvent(QCloseEvent* event) {
  if (job_) {
    job_->Stop();
    closeAfterSearch_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void frmIO::btnCopy_Click() {
  host_.SetClipboardText(QString::fromStdString(TableText(rows_)));
  host_.MessageBox(this, "List copied to clipboard. You can now paste it.", MessageIcon::kInformation);
}

}  // namespace cn
