#include "output/frm_about.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "curvenest_version.h"
#include "output/program_picture.h"
#include "output/version_text.h"

namespace cn {

namespace {

constexpr int kPictureSize = 64;
// Wrapped labels get a fixed width, so the window can size itself to their height.
constexpr int kTextWidth = 340;

constexpr const char* kDescription =
    "Curvenest plots equations on a coordinate plane and answers questions about them: values, "
    "solutions, domain and range, minimum and maximum, intersections, tables of values and "
    "regression lines through data points. It aims to be a complete graphing calculator and does "
    "not yet offer every feature that it is meant to have.";

constexpr const char* kCredits =
    "Credits: Curvenest by the Curvenest developers; the expression parser clsExprParser by the "
    "Curvenest engine developers.";

QFrame* SeparatorLine(QWidget* parent, const char* name, const QColor& colour) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setFrameShape(QFrame::NoFrame);
  line->setFixedHeight(1);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, colour);
  line->setPalette(palette);
  return line;
}

}  // namespace

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
  setObjectName("frmAbout");
  setWindowTitle("Curvenest");
  setModal(true);

  picIcon = new QLabel(this);
  picIcon->setObjectName("picIcon");
  picIcon->setPixmap(QPixmap::fromImage(ProgramPicture(kPictureSize)));
  picIcon->setFixedSize(kPictureSize, kPictureSize);

  lblTitle = new QLabel("Curvenest", this);
  lblTitle->setObjectName("lblTitle");
  QFont titleFont(QStringLiteral("Serif"));
  titleFont.setStyleHint(QFont::Serif);
  titleFont.setPointSize(24);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);

  lblVersion = new QLabel(this);
  lblVersion->setObjectName("lblVersion");

  lblDescription = new QLabel(kDescription, this);
  lblDescription->setObjectName("lblDescription");
  lblDescription->setWordWrap(true);
  lblDescription->setFixedWidth(kTextWidth);

  lblDisclaimer = new QLabel(kCredits, this);
  lblDisclaimer->setObjectName("lblDisclaimer");
  lblDisclaimer->setWordWrap(true);
  lblDisclaimer->setFixedWidth(kTextWidth);

  Line1 = SeparatorLine(this, "Line1", QColor(128, 128, 128));
  Line2 = SeparatorLine(this, "Line2", QColor(255, 255, 255));

  cmdOK = new QPushButton("OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

  auto* texts = new QVBoxLayout;
  texts->addWidget(lblTitle);
  texts->addWidget(lblVersion);
  texts->addSpacing(8);
  texts->addWidget(lblDescription);
  auto* top = new QHBoxLayout;
  top->addWidget(picIcon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblDisclaimer, 1);
  bottom->addSpacing(12);
  bottom->addWidget(cmdOK, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(Line1);
  layout->setSpacing(0);
  layout->addWidget(Line2);
  layout->addSpacing(8);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Form_Load();
}

void frmAbout::Form_Load() { lblVersion->setText(QString::fromStdString(VersionText(kVersionMajor, kVersionBuild))); }

void frmAbout::cmdOK_Click() { accept(); }

}  // namespace cn
