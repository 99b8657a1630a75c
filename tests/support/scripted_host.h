// A Host for tests: records every call and answers from queues, so a window
// under test never opens a modal dialog. An empty queue answers like a user
// who cancels (no text, no colour, no file, Cancel to "Save changes?"), a
// system without printers, and a print job that succeeds.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/host.h"

// A failed comparison of texts shows the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

class ScriptedHost : public cn::Host {
 public:
  struct Message {
    QWidget* owner;
    QString text;
    cn::MessageIcon icon;
    QString title = QString::fromLatin1(cn::kProgramTitle);
  };
  struct SaveQuestion {
    QWidget* owner;
    QString question;
  };
  struct Input {
    QWidget* owner;
    QString prompt;
    QString defaultText;
  };
  struct ColorRequest {
    QWidget* owner;
    std::uint32_t initial;
  };
  enum class FileDialogKind { kOpen, kSave };
  struct FileDialog {
    FileDialogKind kind;
    QWidget* owner;
    QString title;
    QString dir;
    QString filter;
  };
  struct PrintJob {
    QString printer;
    QSize imageSize;
    QImage image;
    QString documentName;
  };

  // What the windows asked for, in order.
  std::vector<Message> messages;
  std::vector<SaveQuestion> saveQuestions;
  std::vector<Input> inputs;
  std::vector<ColorRequest> colorRequests;
  std::vector<FileDialog> fileDialogs;
  std::vector<PrintJob> printJobs;
  int printerQueries = 0;
  QStringList openedUrls;
  // What the clipboard holds: a picture or a text, the last one set.
  struct Clipboard {
    QImage image;
    QString text;
    int writes = 0;
  } clipboard;

  // The scripted answers, taken from the front.
  std::deque<std::optional<QString>> inputAnswers;
  // Runs as each input box is answered: what a user does meanwhile.
  std::function<void()> onInput;
  std::deque<cn::SaveChoice> saveAnswers;  // empty: Cancel
  std::deque<std::optional<std::uint32_t>> colorAnswers;
  std::deque<std::optional<QString>> fileAnswers;  // for open and save dialogs alike
  QStringList printers;
  std::deque<QString> printResults;  // "" is success, anything else the failure's text

  void MessageBox(QWidget* owner, const QString& text, cn::MessageIcon icon) override {
    messages.push_back({owner, text, icon});
  }

  void MessageBox(QWidget* owner, const QString& text, cn::MessageIcon icon, const QString& title) override {
    messages.push_back({owner, text, icon, title});
  }

  cn::SaveChoice AskSaveChanges(QWidget* owner, const QString& question) override {
    saveQuestions.push_back({owner, question});
    if (saveAnswers.empty()) return cn::SaveChoice::kCancel;
    const cn::SaveChoice answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }

  std::optional<QString> InputBox(QWidget* owner, const QString& prompt, const QString& defaultText) override {
    inputs.push_back({owner, prompt, defaultText});
    if (onInput) onInput();
    return Take(inputAnswers);
  }

  std::optional<std::uint32_t> ChooseColor(QWidget* owner, std::uint32_t initial) override {
    colorRequests.push_back({owner, initial});
    return Take(colorAnswers);
  }

  std::optional<QString> OpenFileName(QWidget* owner, const QString& title, const QString& dir,
                                      const QString& filter) override {
    fileDialogs.push_back({FileDialogKind::kOpen, owner, title, dir, filter});
    return Take(fileAnswers);
  }

  std::optional<QString> SaveFileName(QWidget* owner, const QString& title, const QString& dir,
                                      const QString& filter) override {
    fileDialogs.push_back({FileDialogKind::kSave, owner, title, dir, filter});
    return Take(fileAnswers);
  }

  QStringList Printers() override {
    ++printerQueries;
    return printers;
  }

  QString PrintImage(const QString& printer, const QImage& image, const QString& documentName) override {
    printJobs.push_back({printer, image.size(), image, documentName});
    if (printResults.empty()) return {};
    QString result = printResults.front();
    printResults.pop_front();
    return result;
  }

  void OpenUrl(const QString& url) override { openedUrls.push_back(url); }

  void SetClipboardImage(const QImage& image) override {
    clipboard.image = image;
    clipboard.text.clear();
    ++clipboard.writes;
  }

  void SetClipboardText(const QString& text) override {
    clipboard.image = QImage();
    clipboard.text = text;
    ++clipboard.writes;
  }

  // The text of the last message, or "" when there was none.
  QString LastMessage() const { return messages.empty() ? QString() : messages.back().text; }

 private:
  template <typename T>
  static std::optional<T> Take(std::deque<std::optional<T>>& queue) {
    std::optional<T> answer;
    if (queue.empty()) return answer;
    answer.swap(queue.front());
    queue.pop_front();
    return answer;
  }
};
