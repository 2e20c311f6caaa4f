// send_to: the Send-to window.
#include "playlist/send_to.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <algorithm>

#include "app/program.h"
#include "platform/dialogs.h"
#include "platform/folder_reader.h"
#include "platform/folders.h"
#include "platform/name_pattern.h"
#include "platform/vb.h"
#include "playlist/Form1.h"
#include "playlist/entry_bytes.h"
#include "settings/ini.h"

namespace vlx {

namespace {

const QString kSection = QStringLiteral("SEPosition");
const QString kTop = QStringLiteral("SETop");
const QString kLeft = QStringLiteral("SELeft");

const char kExample[] =
    "# Everything in this folder is a target of the Send-to window: choose one there and\n"
    "# press \"send\" to hand it the selected playlist entry.\n"
    "#  - A .desktop file like this one runs its Exec line with the entry as its file\n"
    "#    (%f, %F, %u or %U; without one, the entry goes at the end).\n"
    "#  - A program or script (or a link to one) runs with the entry as its one argument.\n"
    "#  - A folder opens in the file manager.\n"
    "# Subfolders group targets. Links to your programs are the simplest targets:\n"
    "#   ln -s /usr/bin/some-program <this folder>/\n"
    "[Desktop Entry]\n"
    "Type=Application\n"
    "Name=open with the default program\n"
    "Exec=xdg-open %f\n";

struct Pending {
  QByteArray path;  // with a trailing '/'
  QString text;
};

}  // namespace

QString SendToFolder(const QString& userFolder) {
  const QString folder = platform::joinPath(userFolder, QStringLiteral("SendTo"));
  if (QFileInfo::exists(folder)) return folder;
  if (QDir().mkpath(folder)) {
    QFile example(folder + QStringLiteral("/open with the default program.desktop"));
    if (example.open(QIODevice::WriteOnly | QIODevice::NewOnly)) example.write(kExample);
  }
  return folder;
}

QStringList FindFiles(const QString& folder) {
  QStringList found;
  QByteArray root = entryToBytes(folder);
  if (!root.endsWith('/')) root += '/';
  // Each folder's entries go on the stack in reverse, so the first name comes out first.
  std::vector<Pending> stack{{root, {}}};
  while (!stack.empty()) {
    const Pending here = std::move(stack.back());
    stack.pop_back();
    if (!here.text.isEmpty()) found << here.text;
    if (!here.path.endsWith('/')) continue;  // a file, or a link to a folder
    platform::FolderReader reader(here.path);
    if (!reader.isOpen()) continue;
    std::vector<Pending> entries;
    while (reader.next()) {
      if (reader.hidden()) continue;
      const QByteArray path = here.path + reader.nameBytes();
      switch (reader.kind()) {
        case platform::FolderReader::Folder: entries.push_back({path + '/', bytesToEntry(path + '/')}); break;
        case platform::FolderReader::FolderLink: entries.push_back({path, bytesToEntry(path + '/')}); break;
        case platform::FolderReader::File: entries.push_back({path, bytesToEntry(path)}); break;
        default: break;
      }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Pending& a, const Pending& b) { return platform::nameLess(b.text, a.text); });
    for (Pending& e : entries) stack.push_back(std::move(e));
  }
  return found;
}

send_to::send_to(Program& p) : Form(p, QStringLiteral("V L X   [Send To]")) {
  setBorderStyle(FixedSingle);
  QWidget* c = client();
  Text1 = new TextBox(c);
  List1 = new ListBox(c);
  Command12 = new CommandButton(c, QStringLiteral("send (&S)"));
  Command12->setToolTipText(QStringLiteral("send file to selected soft"));
  Command12->setEnabled(false);
  UpDown1 = new UpDown(c);

  Text1->Move(120, 120, 4680, 315);
  UpDown1->Move(4920, 60, 255, 435);
  List1->Move(120, 600, 5055, 2400);
  Command12->Move(3600, 3120, 1575, 375);
  Move(0, 0, 5415, 4010);

  List1->Click = [this] { List1_Click(); };
  Command12->Click = [this] { Command12_Click(); };
  UpDown1->UpClick = [this] { UpDown1_UpClick(); };
  UpDown1->DownClick = [this] { UpDown1_DownClick(); };
}

void send_to::Form_Load() {
  guarded([this] {
    double top = vb::CInt(ReadSetting(kSection, kTop));
    double left = vb::CInt(ReadSetting(kSection, kLeft));
    if (top < 0 || left < 0) top = left = 0;
    Move(left, top, Width(), Height());
  });
  guarded([this] { List1->AddItems(FindFiles(SendToFolder(prog.userFolder()))); });
  guarded([this] { Text1->setText(prog.Form1().lstFoundFiles->Text()); });
  // Long paths scroll sideways rather than being cut.
  List1->list()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void send_to::Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {
  guarded([this] { WriteSetting(kSection, kTop, vb::CStr(float(Top()))); });
  guarded([this] { WriteSetting(kSection, kLeft, vb::CStr(float(Left()))); });
}

void send_to::List1_Click() {
  if (!List1->Text().isEmpty()) Command12->setEnabled(true);
}

void send_to::Command12_Click() {
  // The target goes over as it stands: a separator added to a file's path would break it.
  const QString target = List1->Text();
  if (target.isEmpty()) return;
  QString folder;
  guarded([&] { folder = prog.Form1().dirList->Path(); });
  const QString file = Text1->Text();
  const QStringList arguments = file.isEmpty() ? QStringList() : QStringList{file};
  // A target that cannot be started says so instead of doing nothing.
  if (!prog.shell().run(target, arguments, folder))
    prog.dialogs().MsgBox(QStringLiteral("can't open!"), vbOKOnly, kAppTitle, this);
}

void send_to::UpDown1_UpClick() {
  guarded([this] { prog.Form1().LstUP_Click(); });
}

void send_to::UpDown1_DownClick() {
  guarded([this] { prog.Form1().LstDown_Click(); });
}

}  // namespace vlx
