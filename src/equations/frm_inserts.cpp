#include "equations/frm_inserts.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

#include "equations/equation_text.h"

namespace cn {

frmInserts::frmInserts(QWidget* owner, std::function<void(const QString& token)> append)
    : QWidget(owner, Qt::Tool), append_(std::move(append)) {
  setObjectName("frmInserts");
  setWindowTitle("Inserts");
  setAttribute(Qt::WA_DeleteOnClose);

  lstIns = new QListWidget(this);
  lstIns->setObjectName("lstIns");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lstIns);
  resize(220, 300);

  // A click applies the entry even when it is already selected, so the same
  // function can be inserted twice in a row; Enter does the same from the keyboard.
  connect(lstIns, &QListWidget::itemClicked, this, [this] { lstIns_Click(); });
  lstIns->installEventFilter(this);
  Form_Load();
}

void frmInserts::Form_Load() {
  lstIns->clear();
  for (const char* entry : kInsertEntries) lstIns->addItem(QString::fromUtf8(entry));
}

void frmInserts::lstIns_Click() {
  const QListWidgetItem* item = lstIns->currentItem();
  if (item == nullptr || !append_) return;
  const std::string entry = item->text().toStdString();
  append_(QString::fromStdString(std::string(InsertToken(entry))));
}

bool frmInserts::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstIns && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      lstIns_Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace cn
