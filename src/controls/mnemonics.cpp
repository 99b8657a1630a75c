#include "controls/mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace cn {
namespace {

// The caption with "&" before the chosen letter; `used` holds the letters
// the siblings took (lower case).
QString WithMnemonic(const QString& caption, QSet<QChar>& used) {
  const auto take = [&](qsizetype at) {
    used.insert(caption[at].toLower());
    QString marked = caption;
    marked.insert(at, QLatin1Char('&'));
    return marked;
  };
  // Word starts first, then any letter or digit.
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const bool wordStart = i == 0 || caption[i - 1].isSpace();
    if (wordStart && caption[i].isLetterOrNumber() && !used.contains(caption[i].toLower())) return take(i);
  }
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i].isLetterOrNumber() && !used.contains(caption[i].toLower())) return take(i);
  }
  return caption;
}

void Assign(const QList<QAction*>& actions) {
  QSet<QChar> used;
  // Captions that chose their own letter keep it; the rest avoid it.
  for (const QAction* action : actions) {
    const QString text = action->text();
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    if (at >= 0 && at + 1 < text.size()) used.insert(text[at + 1].toLower());
  }
  for (QAction* action : actions) {
    if (action->isSeparator() || action->text().contains(QLatin1Char('&'))) continue;
    // "&&" shows one "&"; a caption with one is left alone.
    action->setText(WithMnemonic(action->text(), used));
  }
  for (QAction* action : actions)
    if (QMenu* sub = action->menu()) AssignMnemonics(sub);
}

}  // namespace

void AssignMnemonics(QMenuBar* bar) { Assign(bar->actions()); }
void AssignMnemonics(QMenu* menu) { Assign(menu->actions()); }

}  // namespace cn
