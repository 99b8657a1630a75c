// The equation dialog: a new equation from two or three coefficients or as
// typed, with an optional condition on x, appended to the main window's list.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "equations/frm_inserts.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cn {

class Host;

class frmEqu : public QWidget {
  Q_OBJECT

 public:
  // Appends one row (expression, condition, packed RGB colour) to the
  // equation list and selects it.
  using AppendRow = std::function<void(const QString& expression, const QString& condition, std::uint32_t color)>;

  // A modeless window owned by `owner`; it deletes itself when closed.
  frmEqu(QWidget* owner, Host& host, AppendRow appendRow);
  ~frmEqu() override;

  // The colour of a new row: one of nine palette colours that show on the
  // white plane, the generator seeded from the time of day at each call.
  static std::uint32_t DoRndColor();

  // The open insert list, or null.
  frmInserts* Inserts() const { return inserts_; }

  // The colour of the active group.
  static constexpr QRgb kHighlight = 0xFFFFFFBB;  // RGB(255, 255, 187)

  // Event handlers, public so that tests can drive them as the events would.
  void Form_Load();
  void optQuad_Click();
  void optLinear_Click();
  void optCustom_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildWindow();
  // Enables and highlights `active`, disables and greys the other groups.
  void Activate(QGroupBox* active);
  void CloseInserts();

  Host& host_;
  AppendRow appendRow_;
  QWidget* owner_;
  bool shownOnce_ = false;
  QPointer<frmInserts> inserts_;

  QRadioButton* optQuad = nullptr;
  QRadioButton* optLinear = nullptr;
  QRadioButton* optCustom = nullptr;
  QGroupBox* fraQuad = nullptr;
  QLineEdit* txtA = nullptr;
  QLineEdit* txtB = nullptr;
  QLineEdit* txtC = nullptr;
  QGroupBox* fraLinear = nullptr;
  QLineEdit* txtM = nullptr;
  QLineEdit* txtB2 = nullptr;
  QGroupBox* fraCustom = nullptr;
  QLineEdit* txtEqu = nullptr;
  QGroupBox* fraCond = nullptr;
  QComboBox* cmbLG = nullptr;
  QLineEdit* txtIf = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace cn
