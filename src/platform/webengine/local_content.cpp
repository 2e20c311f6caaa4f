// Local files the engine must not read itself (see local_content.h).
#include "platform/webengine/local_content.h"

#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <zlib.h>

#include "platform/user_file.h"
#include "platform/webengine/picture_to_png.h"
#include "viewers/text_decoding.h"

namespace vlx::platform::web {
namespace {

enum class Kind { Engine, Tiff, Picture, Svgz, Message, Video, Unsupported };

QByteArray extensionOf(const QByteArray& nativePath) {
  const qsizetype slash = nativePath.lastIndexOf('/');
  const qsizetype dot = nativePath.lastIndexOf('.');
  if (dot <= slash + 1) return {};
  return nativePath.mid(dot + 1).toLower();
}

Kind kindOf(const QByteArray& nativePath) {
  const QByteArray ext = extensionOf(nativePath);
  if (ext == "tif" || ext == "tiff") return Kind::Tiff;
  if (ext == "xbm" || ext == "jtif") return Kind::Picture;
  if (ext == "svgz") return Kind::Svgz;
  if (ext == "eml" || ext == "nws") return Kind::Message;
  if (ext == "mov") return Kind::Video;
  if (ext == "swf" || ext == "art" || ext == "vrml" || ext == "wrz" || ext == "wme")
    return Kind::Unsupported;
  return Kind::Engine;
}

QString nameOf(const QByteArray& nativePath) {
  return QString::fromUtf8(nativePath.mid(nativePath.lastIndexOf('/') + 1));
}

QString sizeText(qint64 bytes) {
  return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString tooLarge(qint64 size) {
  return QStringLiteral("The file is too large to show here (%1; the limit is %2).")
      .arg(sizeText(size), sizeText(kMaxDocumentBytes));
}

LocalPage message(const QByteArray& nativePath, const QString& reason) {
  return {"text/html;charset=utf-8",
          MessagePage(nameOf(nativePath), QString::fromUtf8(nativePath), reason)};
}

// Unpacks gzip data, refusing to grow past the document limit.
bool gunzip(const QByteArray& in, QByteArray& out) {
  z_stream z{};
  if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
  z.avail_in = uInt(in.size());
  int rc = Z_OK;
  while (rc == Z_OK) {
    if (out.size() >= kMaxDocumentBytes) break;
    const qsizetype have = out.size();
    out.resize(std::min<qsizetype>(kMaxDocumentBytes, have + 256 * 1024));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + have);
    z.avail_out = uInt(out.size() - have);
    rc = inflate(&z, Z_NO_FLUSH);
    out.resize(out.size() - z.avail_out);
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

QByteArray videoPage(const QByteArray& nativePath) {
  const QString name = nameOf(nativePath).toHtmlEscaped();
  const QString src = QString::fromLatin1(FileUrlOf(nativePath).toEncoded()).toHtmlEscaped();
  return QStringLiteral(
             "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
             "html,body{margin:0;height:100%;background:#000}video{width:100%;height:100%}"
             "</style></head><body><video controls src=\"%2\"></video></body></html>")
      .arg(name, src)
      .toUtf8();
}

}  // namespace

QByteArray NativePathOf(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

QUrl FileUrlOf(const QByteArray& nativePath) {
  return QUrl::fromEncoded("file://" + nativePath.toPercentEncoding("/"));
}

QUrl LocalPageUrlOf(const QByteArray& nativePath) {
  return QUrl::fromEncoded(QByteArray(kLocalScheme) + "://" + nativePath.toPercentEncoding("/"));
}

bool NeedsLocalPage(const QByteArray& nativePath) {
  const FileCheck check = CheckUserFile(nativePath);
  if (check.problem == FileProblem::Folder) return false;  // the engine lists folders
  if (check.problem != FileProblem::None) return true;
  const Kind kind = kindOf(nativePath);
  if (kind != Kind::Engine) return true;
  return check.size > kMaxDocumentBytes;
}

bool MayReadPart(const QByteArray& nativePath) {
  return CheckUserFile(nativePath).problem != FileProblem::NotRegular;
}

LocalPage MakeLocalPage(const QByteArray& nativePath) {
  const Kind kind = kindOf(nativePath);
  const FileCheck check = CheckUserFile(nativePath);
  if (check.problem != FileProblem::None)
    return message(nativePath, DescribeFileProblem(check.problem));
  if (kind == Kind::Video) return {"text/html;charset=utf-8", videoPage(nativePath)};
  if (kind == Kind::Unsupported)
    return message(nativePath, QStringLiteral("Files of this type cannot be shown here."));
  if (check.size > kMaxDocumentBytes) return message(nativePath, tooLarge(check.size));
  const FileRead file = ReadUserFile(nativePath, kMaxDocumentBytes);
  if (file.problem != FileProblem::None)
    return message(nativePath, DescribeFileProblem(file.problem));
  if (file.cut()) return message(nativePath, tooLarge(file.size));
  switch (kind) {
    case Kind::Tiff:
    case Kind::Picture: {
      QString error;
      const QByteArray png = PictureToPng(file.bytes, kind == Kind::Tiff, &error);
      if (png.isEmpty()) return message(nativePath, error);
      return {"image/png", png};
    }
    case Kind::Svgz: {
      QByteArray svg;
      if (!gunzip(file.bytes, svg))
        return message(nativePath, svg.size() >= kMaxDocumentBytes
                                       ? tooLarge(svg.size())
                                       : QStringLiteral("The compressed picture is damaged."));
      return {"image/svg+xml", svg};
    }
    case Kind::Message:
      return {"text/plain;charset=utf-8",
              DecodeText(file.bytes, DetectTextEncoding(file.bytes)).toUtf8()};
    case Kind::Engine:
    case Kind::Video:
    case Kind::Unsupported:
      break;
  }
  // The file changed since it was looked at and is now one the engine reads itself.
  const QString type =
      QMimeDatabase().mimeTypeForFile(QString::fromUtf8(nativePath), QMimeDatabase::MatchExtension)
          .name();
  return {type.toUtf8(), file.bytes};
}

QByteArray MessagePage(const QString& title, const QString& what, const QString& reason) {
  return QStringLiteral(
             "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title><style>"
             "body{font-family:sans-serif;margin:2em;color:#333}code{word-break:break-all}"
             "</style></head><body><h2>%1</h2><p>Cannot show <code>%2</code></p><p>%3</p>"
             "</body></html>")
      .arg(title.toHtmlEscaped(), what.toHtmlEscaped(), reason.toHtmlEscaped())
      .toUtf8();
}

}  // namespace vlx::platform::web
