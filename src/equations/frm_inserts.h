// The insert list beside the equation dialog: functions and constants of the
// expression language, each appended to the custom equation when chosen.
#pragma once

#include <QWidget>
#include <functional>

class QListWidget;
class QListWidgetItem;

namespace cn {

class frmInserts : public QWidget {
  Q_OBJECT

 public:
  // `append` receives the chosen entry's token ("sqrt(", "pi#").
  frmInserts(QWidget* owner, std::function<void(const QString& token)> append);

  void Form_Load();
  void lstIns_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> append_;
  QListWidget* lstIns = nullptr;
};

}  // namespace cn
