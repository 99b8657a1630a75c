#include "workspace/frm_io.h"
#include "platform/named.h"

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

void frmIO::Form_Load(std::int16_t xmin, std::int16_t xmax, float xstep) {
  txtStart->setText(QString::number(xmin));
  txtStop->setText(QString::number(xmax));
  txtStep->setText(QString::fromStdString(FormatSingle(xstep)));
  btnGo_Click();
}

void frmIO::btnGo_Click() {
  rows_.clear();
  rowsShown_->setStringList({});
  const ValueTable table = TableOfValues(equation_().toStdString(), txtStart->text().toStdString(),
                                         txtStop->text().toStdString(), txtStep->text().toStdString());
  if (!table.error.empty()) {
    host_.MessageBox(this, QString::fromStdString(table.error), MessageIcon::kError);
    return;
  }
  rows_ = table.rows;
  QStringList rows;
  rows.reserve(static_cast<qsizetype>(rows_.size()));
  for (const std::string& row : rows_) rows << QString::fromStdString(row);
  rowsShown_->setStringList(rows);
}

void frmIO::btnCopy_Click() {
  host_.SetClipboardText(QString::fromStdString(TableText(rows_)));
  host_.MessageBox(this, "List copied to clipboard. You can now paste it.", MessageIcon::kInformation);
}

}  // namespace cn
