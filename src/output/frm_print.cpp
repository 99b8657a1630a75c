#include "output/frm_print.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/host.h"

namespace cn {

namespace {
constexpr const char* kDocumentName = "Curvenest";
}  // namespace

QStringList ListedPrinters(const QStringList& installed) {
  QStringList listed;
  for (const QString& name : installed)
    if (name != QLatin1String("Fax")) listed.push_back(name);
  return listed;
}

frmPrint::frmPrint(QWidget* owner, Host& host, const QSize& screenPixels,
                   std::function<void(QPainter&, const QSize&, double)> drawing)
    : frmPrint(owner, host, QImage()) {
  screenPixels_ = screenPixels;
  drawing_ = std::move(drawing);
}

frmPrint::frmPrint(QWidget* owner, Host& host, const QImage& graph) : QDialog(owner), host_(host), graph_(graph) {
  setObjectName("frmPrint");
  setWindowTitle("Select Printer");
  setModal(true);

  cmbPrinters = new QComboBox(this);
  cmbPrinters->setObjectName("cmbPrinters");
  cmbPrinters->setEditable(false);
  cmbPrinters->setMinimumWidth(260);
  btnPrint = new QPushButton("Print", this);
  btnPrint->setObjectName("btnPrint");
  btnPrint->setDefault(true);
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnPrint);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cmbPrinters);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnPrint, &QPushButton::clicked, this, &frmPrint::btnPrint_Click);
  connect(btnCancel, &QPushButton::clicked, this, &frmPrint::btnCancel_Click);
  Form_Load();
}

void frmPrint::Form_Load() {
  cmbPrinters->clear();
  cmbPrinters->addItems(ListedPrinters(host_.Printers()));
  if (cmbPrinters->count() > 0) cmbPrinters->setCurrentIndex(0);
}

void frmPrint::btnPrint_Click() {
  const QString printer = cmbPrinters->currentText();
  if (printer.isEmpty()) {
    host_.MessageBox(this, "No printer selected!", MessageIcon::kError);
    return;
  }
  // The host looks the printer up by its name and sends one page; a failure
  // comes back as its description, and the window stays open either way.
  const QString failure = drawing_ ? host_.PrintDrawing(printer, screenPixels_, drawing_, kDocumentName)
                                   : host_.PrintImage(printer, graph_, kDocumentName);
  if (!failure.isEmpty()) host_.MessageBox(this, failure, MessageIcon::kNone, "Printer Error!");
}

void frmPrint::btnCancel_Click() { reject(); }

}  // namespace cn
