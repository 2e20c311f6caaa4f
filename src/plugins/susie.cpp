// susie: the plug-in picture window.
#include "plugins/susie.h"

#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <string_view>

#include "app/program.h"
#include "platform/folders.h"
#include "platform/twips.h"
#include "players/Form2.h"
#include "players/playable_path.h"
#include "playlist/Form1.h"
#include "playlist/path_rules.h"
#include "plugins/archive_entry_names.h"
#include "plugins/dib_image.h"
#include "plugins/spi_errors.h"
#include "viewers/pictureview.h"
#include "winutil/window_position.h"

namespace vlx {
namespace {

const WindowPositionKeys kPositionKeys{"SUPosition", "SUTop", "SULeft", nullptr, nullptr};
const QString kCaption = QStringLiteral("V L X   [Picture Viewer]  Powered by ");
const QString kPictureFile = QStringLiteral("VLX_S.BMP");
const QString kEntryFile = QStringLiteral("VLX_A.BMP");

// Loaded by Qt's own picture loader; every other file goes through the plug-ins.
constexpr std::string_view kDirect[] = {"bmp", "jpg", "gif", "BMP", "JPG", "GIF"};

// The slider's value that shows the picture at its own size (v/5 of the size).
constexpr int kNaturalZoom = 5;

// The picture viewer's window never grows past these (its drawing surface is as large as
// the window): a larger zoomed picture is shown scaled down to fit.
constexpr int kMaxViewerSide = 16384;
constexpr qint64 kMaxViewerPixels = qint64(1) << 26;

constexpr qint64 kProgressPaintMs = 100;

bool loadsDirectly(const QString& ext) {
  for (std::string_view s : kDirect)
    if (ext == QLatin1String(s.data(), qsizetype(s.size()))) return true;
  return false;
}

QSize viewerSize(const QSize& wanted) {
  if (wanted.isEmpty()) return wanted;
  QSize size = wanted.boundedTo(QSize(kMaxViewerSide, kMaxViewerSide));
  if (qint64(size.width()) * size.height() > kMaxViewerPixels) {
    const double f = std::sqrt(double(kMaxViewerPixels) / (double(size.width()) * size.height()));
    size = QSize(std::max(1, int(size.width() * f)), std::max(1, int(size.height() * f)));
  }
  return wanted.scaled(size, Qt::KeepAspectRatio);
}

// Only a regular file is handed to Qt's loader: a FIFO or a device would never end.
QImage loadDirectly(const QString& path) {
  if (!QFileInfo(path).isFile()) return {};
  QImageReader reader(path);
  reader.setAutoTransform(true);  // turned as the photo's orientation says
  return reader.read();
}

// The picture on the copy button: a clipboard.
QImage clipboardGlyph() {
  QImage glyph(32, 32, QImage::Format_ARGB32_Premultiplied);
  glyph.fill(Qt::transparent);
  QPainter p(&glyph);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 60, 30), 2));
  p.setBrush(QColor(200, 150, 90));
  p.drawRoundedRect(QRectF(6, 5, 20, 25), 2, 2);
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(9, 10, 14, 17));
  p.setBrush(QColor(120, 120, 120));
  p.drawRoundedRect(QRectF(11, 2, 10, 6), 2, 2);
  p.setPen(QPen(QColor(140, 140, 140), 1));
  for (int y = 14; y <= 24; y += 4) p.drawLine(11, y, 21, y);
  return glyph;
}

}  // namespace

susie::susie(Program& p) : Form(p, kCaption + QStringLiteral("SPI")) {
  QWidget* c = client();
  Image1 = new ImageBox(c, ImageBox::Sizing::Fit);
  Image1->Move(120, 120, 3600, 3000);
  Image2 = new ImageBox(c, ImageBox::Sizing::Fit);
  Image2->Move(3840, 120, 480, 480);
  Image2->setToolTipText(QStringLiteral("copy to clipboard"));
  Image2->setPicture(clipboardGlyph());
  UpDown1 = new UpDown(c);
  UpDown1->Move(4440, 120, 300, 480);
  Frame8 = new Frame(c, QStringLiteral("zoom"));
  Frame8->Move(3840, 720, 1920, 1200);
  Slider1 = new Slider(Frame8->inner(), 1, 20);
  Slider1->Move(60, 300, 1800, 450);
  Slider1->setValue(kNaturalZoom);
  Label10 = new Label(Frame8->inner(), QStringLiteral("100 %"));
  Label10->Move(60, 780, 1800, 300);
  Label2 = new Label(c, QStringLiteral("size W×H : 0×0"));
  Label2->Move(3840, 2040, 1920, 300);
  Label1 = new Label(c);
  Label1->Move(3840, 2400, 1920, 720);
  Label1->setWordWrap(true);
  TextFileName = new TextBox(c);
  TextFileName->Move(120, 3240, 5640, 315);
  ArchiveList = new ListBox(c);
  ArchiveList->Move(120, 3660, 5640, 2220);
  ArchiveList->setToolTipText(QStringLiteral("archive list"));
  Move(0, 0, 6000, 6410);

  TextFileName->Change = [this] { TextFileName_Change(); };
  ArchiveList->Click = [this] { ArchiveList_Click(); };
  Slider1->Change = [this] { Slider1_Change(); };
  Image1->DblClick = [this] { Image1_DblClick(); };
  Image2->MouseDown = [this](int, int, float, float) { Image2->setBorderStyle(1); };
  Image2->MouseUp = [this](int, int, float, float) { Image2->setBorderStyle(0); };
  Image2->Click = [this] { Image2_Click(); };
  UpDown1->UpClick = [this] { StepPlaylist(-1); };
  UpDown1->DownClick = [this] { StepPlaylist(1); };
}

susie::~susie() = default;

// ---------------------------------------------------------------- load and close

void susie::Form_Load() {
  guarded([this] { RestoreWindowPosition(*this, kPositionKeys); });
  QString folder;
  guarded([&] { folder = GetSusieFolder(); });
  if (folder.isEmpty()) {
    guarded([this] {
      prog.dialogs().MsgBox(QStringLiteral("[Susie] is nonexistent. \nfailed to get SPI folder."),
                            vbExclamation, QStringLiteral("Caution"), this);
    });
  }
  spi_ = std::make_unique<CollectionSusie>();
  guarded([&] { spi_->AddSPI(folder, false); });
  setCaptionCount();
  // ArchiveList scrolls sideways as far as its longest entry needs, past 500 pixels too.
  TextFileName_Change();
}

void susie::Form_QueryUnload(int& cancel, int unloadMode) {
  (void)cancel;
  (void)unloadMode;
  guarded([this] { SaveWindowPosition(*this, kPositionKeys); });
  // The decoded pictures are of no use to the next run.
  for (const QString& name : {kPictureFile, kEntryFile}) {
    const QString path = tempFile(name);
    if (!path.isEmpty()) QFile::remove(path);
  }
}

void susie::setCaptionCount() {
  setCaption(kCaption + QString::number(spi_ ? spi_->Count() : 0) + QStringLiteral(" SPI"));
}

QString susie::tempFile(const QString& name) const {
  const QString folder = platform::GetTempFolder();
  return folder.isEmpty() ? QString() : platform::joinPath(folder, name);
}

// ---------------------------------------------------------------- showing a file

void susie::setFileName(const QString& text) {
  const bool same = TextFileName->Text() == text;
  TextFileName->setText(text);
  if (!same) return;
  QString entry;
  guarded([&] { entry = prog.Form1().lstFoundFiles->Text(); });
  if (entry != shownEntry_) TextFileName_Change();
}

void susie::TextFileName_Change() {
  // Showing the name below changes the box again; that is no new file.
  if (loading_) return;
  loading_ = true;
  TextFileName->setVisible(false);
  guarded([this] { showSelected(); });
  guarded([this] { applyZoom(); });
  TextFileName->setVisible(true);
  loading_ = false;
}

void susie::showSelected() {
  QString entry;
  guarded([&] { entry = prog.Form1().lstFoundFiles->Text(); });
  shownEntry_ = entry;
  if (!loadsDirectly(ExtensionOf(entry))) {
    showThroughPlugins(entry);
    return;
  }
  Label1->setCaption(QString());
  const QImage picture = loadDirectly(PlayablePath(entry));
  if (picture.isNull()) {
    Image1->Cls();
    showFailure(QFileInfo(PlayablePath(entry)).isFile() ? spierr::Message(spierr::DecodeFailed)
                                                        : QStringLiteral("can't open!"));
    return;
  }
  Image1->setPicture(picture);
}

void susie::showThroughPlugins(const QString& entry) {
  if (entry.isEmpty() || !spi_) return;
  const QString path = PlayablePath(entry);
  Label1->setCaption(QString());
  const int i = spi_->SetFile(path, 0, 0, QString());
  if (i == 0) {
    // No plug-in takes the file: the picture and list shown stay.
    showFailure(QFileInfo(path).isFile() ? spierr::Message(spierr::Unsupported)
                                         : QStringLiteral("can't open!"));
    return;
  }
  ArchiveList->Clear();
  clsSusie* member = spi_->Item(i);
  if (member->DllStyle() == clsSusie::kArchive) {
    listedArchive_ = i;
    QStringList entries;
    member->GetExpandFileList(entries);
    ArchiveList->AddItems(entries);
    ArchiveList->setEnabled(true);
    return;
  }
  listedArchive_ = 0;
  decodeInto(i, kPictureFile);
  ArchiveList->setEnabled(false);
}

bool susie::decodeInto(int index, const QString& bmpName) {
  clsSusie* member = spi_->Item(index);
  const QString bmp = tempFile(bmpName);
  if (!member || bmp.isEmpty()) {
    Image1->Cls();
    showFailure(spierr::Message(spierr::SaveFailed));
    return false;
  }
  QImage picture;
  const int32_t r = member->DecodePicture(0, 0, &susie::ProgressCallback, bmp, nullptr, nullptr,
                                          reinterpret_cast<intptr_t>(this), &picture);
  if (r != 0) picture = QImage();
  if (picture.isNull()) {
    // A picture that cannot be decoded is not shown under the new name as the old one.
    Image1->Cls();
    showFailure(r != 0 ? member->ErrorString() : spierr::Message(spierr::DecodeFailed));
    return false;
  }
  Image1->setPicture(picture);
  return true;
}

void susie::showFailure(const QString& text) { Label1->setCaption(text); }

int32_t susie::ProgressCallback(int32_t num, int32_t denom, intptr_t data) {
  auto* w = reinterpret_cast<susie*>(data);
  if (!w) return 0;
  w->Label1->setCaption(QStringLiteral("loading (") + QString::number(num) +
                        QStringLiteral(" / ") + QString::number(denom) + u')');
  // The decoding holds the event loop: the label is painted now and then meanwhile.
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (now - w->lastProgressPaint_ >= kProgressPaintMs) {
    w->lastProgressPaint_ = now;
    if (w->Label1->widget()->isVisible()) w->Label1->widget()->repaint();
  }
  return 0;
}

// ---------------------------------------------------------------- archives

void susie::ArchiveList_Click() {
  if (listedArchive_ == 0 || loading_ || !spi_) return;
  clsSusie* archive = spi_->Item(listedArchive_);
  if (!archive) return;
  loading_ = true;
  ArchiveList->setEnabled(false);
  guarded([&] {
    const QString path = PlayablePath(prog.Form1().lstFoundFiles->Text());
    if (archive->File() != path) archive->setFile(path);
  });
  const int index = ArchiveList->ListIndex();
  const QString temp = platform::GetTempFolder();
  const intptr_t r = temp.isEmpty() ? intptr_t(spierr::SaveFailed)
                                    : archive->DecodeArchive(QString::number(index + 1), 1, 0,
                                                             nullptr, false, temp);
  if (r == 0) {
    // The entry was written flat into the temporary folder under its own name.
    const QString written =
        platform::joinPath(temp, EntryFileName(ArchiveList->List(index)));
    const int j = spi_->SetFile(written, 0, 0, QString());
    if (j == 0)
      showFailure(spierr::Message(spierr::Unsupported));
    else if (decodeInto(j, kEntryFile))
      guarded([this] { applyZoom(); });
    // Its picture is in the BMP file now; the entry need not stay.
    QFile::remove(written);
  } else {
    showFailure(archive->ErrorString());
  }
  setCaptionCount();
  ArchiveList->setEnabled(true);
  ArchiveList->SetFocus();
  loading_ = false;
}

// ---------------------------------------------------------------- zoom and the viewer

void susie::Slider1_Change() {
  guarded([this] { applyZoom(); });
}

void susie::applyZoom() {
  pictureview& v = prog.pictureview();
  const int zoom = Slider1->Value();
  v.Picture1->setVisible(false);
  v.Image1->setVisible(false);
  v.Image1->setPicture(Image1->Picture());
  v.Picture1->setPicture(v.Image1->Picture());
  v.Picture1_Change();

  const QSize natural = Image1->Picture().size();
  const QSize wanted = natural * zoom / kNaturalZoom;
  const QSize shown = viewerSize(wanted);
  if (zoom != kNaturalZoom || shown != natural) {
    v.Image1->Move(0, 0, pxToTwips(shown.width()), pxToTwips(shown.height()));
    v.Image1->setVisible(true);
    Label10->setCaption(QString::number(zoom * 100 / kNaturalZoom) + QStringLiteral(" %"));
  } else {
    v.Picture1->setVisible(true);
    Label10->setCaption(QStringLiteral("100 %"));
  }
  v.Form_Resize();

  QString entry;
  guarded([&] { entry = prog.Form1().lstFoundFiles->Text(); });
  if (entry.isEmpty()) {
    guarded([this] {
      if (Form2* wmp = prog.loaded<Form2>()) wmp->Label1->setCaption(QString());
    });
    return;
  }
  const QString name = FileNamePart(entry);
  const bool wasLoading = std::exchange(loading_, true);
  TextFileName->setText(name);
  loading_ = wasLoading;
  v.setCaption(QStringLiteral("V L X   [Picture Viewer] ") + name);
}

void susie::Image1_DblClick() {
  pictureview& v = prog.pictureview();
  v.Image1->setVisible(false);
  v.Picture1->setVisible(true);
  v.Picture1->setPicture(Image1->Picture());
  v.Image1->setPicture(Image1->Picture());
  guarded([this] { applyZoom(); });
  v.Show();
}

void susie::Image2_Click() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  if (Image1->HasPicture()) clipboard->setImage(Image1->Picture());
}

// ---------------------------------------------------------------- stepping

void susie::StepPlaylist(int delta) {
  TextFileName->setVisible(false);
  guarded([&] {
    ListBox* list = prog.Form1().lstFoundFiles;
    const int next = list->ListIndex() + delta;
    if (next >= list->ListCount()) return;  // past the last entry nothing changes
    list->setListIndex(next);               // up from the first clears the selection
    setFileName(list->Text());
  });
  TextFileName->setVisible(true);
}

}  // namespace vlx
