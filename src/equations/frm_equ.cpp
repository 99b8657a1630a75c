#include "equations/frm_equ.h"
#include "platform/named.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/ascii_text.h"
#include "equations/equation_text.h"
#include "equations/frm_inserts.h"
#include "platform/host.h"

namespace cn {
namespace {

std::string Std(const QLineEdit* box) { return box->text().toStdString(); }

// The box's cursor position of a count of characters: a character outside
// the basic plane takes two UTF-16 units.
int CursorOf(const QString& text, std::size_t characters) {
  int i = 0;
  for (std::size_t n = 0; n < characters && i < text.size(); ++n) {
    i += text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
  }
  return i;
}

}  // namespace

frmEqu::frmEqu(QWidget* owner, Host& host, AppendRow appendRow)
    : QWidget(owner, Qt::Dialog), host_(host), appendRow_(std::move(appendRow)), owner_(owner) {
  setObjectName("frmEqu");
  setWindowTitle("Equation");
  setAttribute(Qt::WA_DeleteOnClose);
  BuildWindow();
  Form_Load();
}

frmEqu::~frmEqu() = default;

void frmEqu::BuildWindow() {
  optQuad = Named(new QRadioButton("Quadratic"), "optQuad");
  optLinear = Named(new QRadioButton("Linear"), "optLinear");
  optCustom = Named(new QRadioButton("Custom"), "optCustom");
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(optQuad);
  kinds->addWidget(optLinear);
  kinds->addWidget(optCustom);
  kinds->addStretch();

  auto coefficientRow = [](QGridLayout* grid, int row, const char* label, QLineEdit* box) {
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(box, row, 1);
  };

  fraQuad = Named(new QGroupBox("  Quadratic  "), "fraQuad");
  txtA = Named(new QLineEdit, "txtA");
  txtB = Named(new QLineEdit, "txtB");
  txtC = Named(new QLineEdit, "txtC");
  auto* quad = new QGridLayout(fraQuad);
  quad->addWidget(new QLabel("f(x) = ax^2 + bx + c"), 0, 0, 1, 2);
  coefficientRow(quad, 1, "a =", txtA);
  coefficientRow(quad, 2, "b =", txtB);
  coefficientRow(quad, 3, "c =", txtC);

  fraLinear = Named(new QGroupBox("  Linear  "), "fraLinear");
  txtM = Named(new QLineEdit, "txtM");
  txtB2 = Named(new QLineEdit, "txtB2");
  auto* linear = new QGridLayout(fraLinear);
  linear->addWidget(new QLabel("f(x) = mx + b"), 0, 0, 1, 2);
  coefficientRow(linear, 1, "m =", txtM);
  coefficientRow(linear, 2, "b =", txtB2);
  linear->setRowStretch(3, 1);

  fraCustom = Named(new QGroupBox("  Custom  "), "fraCustom");
  txtEqu = Named(new QLineEdit, "txtEqu");
  txtEqu->setToolTip("Enter your own equation here.");
  auto* custom = new QHBoxLayout(fraCustom);
  custom->addWidget(new QLabel(" f(x) ="));
  custom->addWidget(txtEqu, 1);

  fraCond = Named(new QGroupBox("  Conditions  "), "fraCond");
  cmbLG = Named(new QComboBox, "cmbLG");
  cmbLG->setEditable(false);
  txtIf = Named(new QLineEdit, "txtIf");
  auto* cond = new QHBoxLayout(fraCond);
  cond->addWidget(new QLabel("if  x  is"));
  cond->addWidget(cmbLG);
  cond->addWidget(txtIf, 1);

  cmdOK = Named(new QPushButton("OK"), "cmdOK");
  cmdCancel = Named(new QPushButton("Cancel"), "cmdCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);

  auto* groups = new QHBoxLayout;
  groups->addWidget(fraQuad);
  groups->addWidget(fraLinear);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(kinds);
  layout->addLayout(groups);
  layout->addWidget(fraCustom);
  layout->addWidget(fraCond);
  layout->addLayout(buttons);

  for (QGroupBox* frame : {fraQuad, fraLinear, fraCustom}) frame->setAutoFillBackground(true);

  // The kind buttons come first in the tab order.
  setTabOrder(optQuad, optLinear);
  setTabOrder(optLinear, optCustom);
  setTabOrder(optCustom, txtA);

  // toggled covers the keyboard, clicked a click on the button already chosen
  // (Custom then brings back an insert list the user has closed).
  const auto wire = [this](QRadioButton* button, void (frmEqu::*handler)()) {
    connect(button, &QRadioButton::toggled, this, [this, handler](bool on) {
      if (on) (this->*handler)();
    });
    connect(button, &QRadioButton::clicked, this, [this, handler] { (this->*handler)(); });
  };
  wire(optQuad, &frmEqu::optQuad_Click);
  wire(optLinear, &frmEqu::optLinear_Click);
  wire(optCustom, &frmEqu::optCustom_Click);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  // Enter in any box presses OK, as in a dialog.
  cmdOK->setDefault(true);
  for (QLineEdit* box : {txtA, txtB, txtC, txtM, txtB2, txtEqu, txtIf}) {
    connect(box, &QLineEdit::returnPressed, this, [this] { cmdOK_Click(); });
  }
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmEqu::Form_Load() {
  cmbLG->clear();
  for (const char* comparison : kComparisons) cmbLG->addItem(comparison);
  cmbLG->setCurrentIndex(0);
  // The dialog opens in the quadratic layout, as if optQuad had taken the
  // focus first; setChecked runs optQuad_Click through toggled.
  optQuad->setChecked(true);
}

void frmEqu::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    txtA->setFocus();
  }
}

void frmEqu::Activate(QGroupBox* active) {
  const QColor buttonFace = palette().color(QPalette::Active, QPalette::Button);
  for (QGroupBox* frame : {fraQuad, fraLinear, fraCustom}) {
    const bool on = frame == active;
    frame->setEnabled(on);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, on ? QColor::fromRgb(kHighlight) : buttonFace);
    frame->setPalette(pal);
  }
}

void frmEqu::CloseInserts() {
  if (inserts_) inserts_->close();
}

void frmEqu::optQuad_Click() {
  Activate(fraQuad);
  CloseInserts();
  txtA->setFocus();
}

void frmEqu::optLinear_Click() {
  Activate(fraLinear);
  CloseInserts();
  txtM->setFocus();
}

void frmEqu::optCustom_Click() {
  Activate(fraCustom);
  if (!inserts_) {
    inserts_ = new frmInserts(this, [this](const QString& token) { txtEqu->setText(txtEqu->text() + token); });
  }
  // Top aligned with the dialog, left edge at the dialog's right edge.
  const QRect frame = frameGeometry();
  inserts_->move(frame.left() + frame.width(), frame.top());
  inserts_->show();
  txtEqu->setFocus();
}

void frmEqu::cmdOK_Click() {
  EquationEntry entry;
  entry.kind = optCustom->isChecked() ? EquationKind::kCustom
               : optQuad->isChecked() ? EquationKind::kQuadratic
                                      : EquationKind::kLinear;
  entry.a = Std(txtA);
  entry.b = Std(txtB);
  entry.c = Std(txtC);
  entry.m = Std(txtM);
  entry.b2 = Std(txtB2);
  entry.equ = Std(txtEqu);
  const EquationResult result = BuildEquation(entry);
  if (!result.error.empty()) {
    host_.MessageBox(this, QString::fromStdString(result.error), MessageIcon::kError);
    return;
  }
  // A text the engine refuses could never be plotted: say why here, where it
  // can still be mended, instead of an empty graph later.
  if (const auto fault = FindEquationFault(result.text)) {
    host_.MessageBox(this, QString::fromStdString(fault->message), MessageIcon::kError);
    if (entry.kind == EquationKind::kCustom) {
      txtEqu->setFocus();
      txtEqu->setCursorPosition(CursorOf(txtEqu->text(), fault->caret));
    }
    return;
  }
  // A bound that is not a number would silently drop the condition.
  const std::string bound(Trim(Std(txtIf)));
  const std::string condition = ConditionText(cmbLG->currentIndex(), bound);
  if (!bound.empty() && condition.empty()) {
    host_.MessageBox(this, QString::fromStdString(*FindConditionFault("x < " + bound)), MessageIcon::kError);
    txtIf->setFocus();
    txtIf->selectAll();
    return;
  }
  // The empty coefficients now read "0" in their boxes too.
  if (entry.kind == EquationKind::kQuadratic) {
    txtA->setText(QString::fromStdString(entry.a));
    txtB->setText(QString::fromStdString(entry.b));
    txtC->setText(QString::fromStdString(entry.c));
  } else if (entry.kind == EquationKind::kLinear) {
    txtM->setText(QString::fromStdString(entry.m));
    txtB2->setText(QString::fromStdString(entry.b2));
  }

  const std::uint32_t color = DoRndColor();
  if (appendRow_) appendRow_(QString::fromStdString(result.text), QString::fromStdString(condition), color);

  if (owner_) owner_->activateWindow();
  close();
}

void frmEqu::cmdCancel_Click() { close(); }

std::uint32_t frmEqu::DoRndColor() { return NewRowColor(); }

}  // namespace cn
