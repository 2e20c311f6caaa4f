// Message boxes and the common dialogs, behind one service so that tests can answer them.
#pragma once
#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QWidget;

namespace vlx {

// Message box buttons and icons, and the answers.
enum MsgBoxStyle : int {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
  vbRetryCancel = 5, vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The program's title, shown on its message boxes.
inline const QString kAppTitle = QStringLiteral("VLX");

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = kAppTitle,
                     QWidget* owner = nullptr) = 0;
  // Filters in the form "name|pattern|name|pattern". Empty results mean cancelled.
  virtual QString OpenFile(const QString& title, const QString& filter, const QString& folder,
                           QWidget* owner = nullptr) = 0;
  virtual QStringList OpenFiles(const QString& title, const QString& filter,
                                const QString& folder, QWidget* owner = nullptr) = 0;
  virtual QString SaveFile(const QString& title, const QString& filter, const QString& folder,
                           QWidget* owner = nullptr) = 0;
  virtual QString PickFolder(const QString& title, const QString& folder,
                             QWidget* owner = nullptr) = 0;
  virtual std::optional<QFont> PickFont(const QFont& initial, QWidget* owner = nullptr) = 0;
  // Colours as 0x00BBGGRR.
  virtual std::optional<uint32_t> PickColor(uint32_t initial, QWidget* owner = nullptr) = 0;
};

// Closes every open message box, dialog and popup menu as Escape would, so that whoever
// waits on one goes on with a cancelled answer. Run before the program ends under them.
void CloseOpenDialogs();

// Converts "name|pattern|name|pattern" to Qt's "name (pattern);;name (pattern)".
QString qtFilter(const QString& windowsFilter);

// What a save dialog adds to a name typed without an extension: "vlx" for a filter whose
// first pattern is "*.vlx"; empty when that pattern is no plain extension.
QString DefaultSuffix(const QString& windowsFilter);

// The real dialogs.
class QtDialogs : public Dialogs {
 public:
  int MsgBox(const QString& text, int style, const QString& title, QWidget* owner) override;
  QString OpenFile(const QString& title, const QString& filter, const QString& folder,
                   QWidget* owner) override;
  QStringList OpenFiles(const QString& title, const QString& filter, const QString& folder,
                        QWidget* owner) override;
  QString SaveFile(const QString& title, const QString& filter, const QString& folder,
                   QWidget* owner) override;
  QString PickFolder(const QString& title, const QString& folder, QWidget* owner) override;
  std::optional<QFont> PickFont(const QFont& initial, QWidget* owner) override;
  std::optional<uint32_t> PickColor(uint32_t initial, QWidget* owner) override;
};

}  // namespace vlx
