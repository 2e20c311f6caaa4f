#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/color.h"

namespace vlx {

void CloseOpenDialogs() {
  // The innermost first, until none is left.
  for (int pass = 0; pass < 64; ++pass) {
    QWidget* open = QApplication::activePopupWidget();
    if (!open) open = QApplication::activeModalWidget();
    if (!open) return;
    if (auto* dialog = qobject_cast<QDialog*>(open))
      dialog->done(QDialog::Rejected);
    else
      open->close();
    if (open->isVisible()) open->hide();  // one that refuses to close
  }
}

QString qtFilter(const QString& windowsFilter) {
  const QStringList parts = windowsFilter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return out.join(QStringLiteral(";;"));
}

int QtDialogs::MsgBox(const QString& text, int style, const QString& title, QWidget* owner) {
  QMessageBox box(owner);
  box.setWindowTitle(title);
  box.setText(text);
  switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  struct Choice { QMessageBox::StandardButton button; int result; };
  std::vector<Choice> choices;
  switch (style & 0x7) {
    case vbOKCancel: choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
      choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
      break;
    case vbYesNoCancel:
      choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
      break;
    case vbYesNo: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: choices = {{QMessageBox::Ok, vbOK}}; break;
  }
  QMessageBox::StandardButtons buttons;
  for (const Choice& c : choices) buttons |= c.button;
  box.setStandardButtons(buttons);
  const int pressed = box.exec();
  for (const Choice& c : choices)
    if (pressed == c.button) return c.result;
  return (style & 0x7) == vbOKOnly ? vbOK : vbCancel;
}

QString QtDialogs::OpenFile(const QString& title, const QString& filter, const QString& folder,
                            QWidget* owner) {
  return QFileDialog::getOpenFileName(owner, title, folder, qtFilter(filter));
}

QStringList QtDialogs::OpenFiles(const QString& title, const QString& filter,
                                 const QString& folder, QWidget* owner) {
  return QFileDialog::getOpenFileNames(owner, title, folder, qtFilter(filter));
}

QString DefaultSuffix(const QString& windowsFilter) {
  const QStringList parts = windowsFilter.split(u'|');
  if (parts.size() < 2) return {};
  const QString first = parts[1].section(u';', 0, 0).trimmed();
  if (!first.startsWith(QLatin1String("*.")) || first.size() < 3) return {};
  const QString suffix = first.mid(2);
  for (QChar c : suffix)
    if (c == u'*' || c == u'?' || c == u'.' || c == u'[') return {};
  return suffix;
}

QString QtDialogs::SaveFile(const QString& title, const QString& filter, const QString& folder,
                            QWidget* owner) {
  QFileDialog dialog(owner, title, folder, qtFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(DefaultSuffix(filter));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

QString QtDialogs::PickFolder(const QString& title, const QString& folder, QWidget* owner) {
  return QFileDialog::getExistingDirectory(owner, title, folder);
}

std::optional<QFont> QtDialogs::PickFont(const QFont& initial, QWidget* owner) {
  bool ok = false;
  const QFont f = QFontDialog::getFont(&ok, initial, owner);
  if (!ok) return std::nullopt;
  return f;
}

std::optional<uint32_t> QtDialogs::PickColor(uint32_t initial, QWidget* owner) {
  const QColor c = QColorDialog::getColor(vbColor(initial), owner);
  if (!c.isValid()) return std::nullopt;
  return toVbColor(c);
}

}  // namespace vlx
