#include "platform/launch.h"

#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "playlist/entry_bytes.h"

namespace vlx::platform {

namespace {

// The value of a key in the "Desktop Entry" group, its escapes (\s \n \t \r \\) undone.
QString entryValue(const QByteArray& text, const QByteArray& wanted) {
  bool inGroup = false;
  for (QByteArray line : text.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    const QByteArray trimmed = line.trimmed();
    if (trimmed.startsWith('[')) {
      inGroup = trimmed == "[Desktop Entry]";
      continue;
    }
    if (!inGroup || trimmed.startsWith('#')) continue;
    const qsizetype eq = line.indexOf('=');
    if (eq < 0 || line.left(eq).trimmed() != wanted) continue;
    const QString raw = QString::fromUtf8(line.mid(eq + 1).trimmed());
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\' || i + 1 == raw.size()) {
        value += raw[i];
        continue;
      }
      const QChar next = raw[++i];
      if (next == 's') value += ' ';
      else if (next == 'n') value += '\n';
      else if (next == 't') value += '\t';
      else if (next == 'r') value += '\r';
      else if (next == '\\') value += '\\';
      else value += QStringLiteral("\\") + next;
    }
    return value;
  }
  return {};
}

// Splits an Exec line into words: blanks separate them; inside double quotes a backslash
// keeps the next of " ` $ \ as it is. Each word remembers whether it was quoted (field codes
// are not expanded there). False on an unclosed quote.
struct Word {
  QString text;
  bool quoted = false;
};
bool splitExec(const QString& line, std::vector<Word>& words) {
  Word word;
  bool inWord = false, inQuote = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (inQuote) {
      if (c == '"') {
        inQuote = false;
      } else if (c == '\\' && i + 1 < line.size() && QStringLiteral("\"`$\\").contains(line[i + 1])) {
        word.text += line[++i];
      } else {
        word.text += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(std::exchange(word, Word{}));
      inWord = false;
    } else if (c == '"') {
      inQuote = inWord = word.quoted = true;
    } else {
      word.text += c;
      inWord = true;
    }
  }
  if (inQuote) return false;
  if (inWord) words.push_back(word);
  return true;
}

}  // namespace

QStringList DesktopEntryCommand(const QByteArray& entryText, const QStringList& files,
                                const QString& desktopFile) {
  std::vector<Word> words;
  if (!splitExec(entryValue(entryText, "Exec"), words) || words.empty()) return {};
  const QString icon = entryValue(entryText, "Icon");
  QStringList command;
  bool placed = false;
  for (const Word& w : words) {
    if (w.quoted) {
      command << w.text;
      continue;
    }
    if (w.text == QStringLiteral("%F") || w.text == QStringLiteral("%U")) {
      command << files;
      placed = true;
      continue;
    }
    if (w.text == QStringLiteral("%i")) {
      if (!icon.isEmpty()) command << QStringLiteral("--icon") << icon;
      continue;
    }
    QString out;
    bool onlyCodes = true;  // the word held nothing but codes that gave no text
    for (qsizetype i = 0; i < w.text.size(); ++i) {
      if (w.text[i] != '%' || i + 1 == w.text.size()) {
        out += w.text[i];
        onlyCodes = false;
        continue;
      }
      const QChar code = w.text[++i];
      if (code == '%') {
        out += '%';
        onlyCodes = false;
      } else if (code == 'f' || code == 'u') {
        if (!files.isEmpty()) out += files.first();
        placed = true;
      } else if (code == 'c') {
        out += entryValue(entryText, "Name");
      } else if (code == 'k') {
        out += desktopFile;
      }
    }
    if (!out.isEmpty() || !onlyCodes) command << out;
  }
  if (!placed) command << files;
  if (command.isEmpty() || command.first().isEmpty()) return {};
  return command;
}

QString FirstProgramOnPath(const QStringList& names) {
  for (const QString& name : names) {
    const QString path = QStandardPaths::findExecutable(name);
    if (!path.isEmpty()) return path;
  }
  return {};
}

bool StartDetached(const QStringList& command, const QString& workingFolder) {
  if (command.isEmpty() || command.first().isEmpty()) return false;
  QString program = command.first();
  if (!program.contains('/')) program = QStandardPaths::findExecutable(program);
  if (program.isEmpty()) return false;

  // Everything the child needs is made before the fork: after it only plain system calls.
  const QByteArray path = entryToBytes(program);
  std::vector<QByteArray> args;
  for (const QString& a : command) args.push_back(entryToBytes(a));
  std::vector<char*> argv;
  for (QByteArray& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const QByteArray folder = entryToBytes(workingFolder);

  // The started program's error, if exec fails, comes back through a pipe that exec closes.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    // A grandchild, so that the program is nobody's child here and never a zombie of ours.
    close(report[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild != 0) {
      if (grandchild < 0) {
        const int e = errno;
        [[maybe_unused]] auto w = write(report[1], &e, sizeof e);
      }
      _exit(0);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
    if (!folder.isEmpty() && chdir(folder.constData()) != 0) {
      // A working folder that is gone is no reason not to start.
    }
    execv(path.constData(), argv.data());
    const int e = errno;
    [[maybe_unused]] auto w = write(report[1], &e, sizeof e);
    _exit(127);
  }
  close(report[1]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return got == 0;
}

}  // namespace vlx::platform
