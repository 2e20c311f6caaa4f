#include "platform/name_pattern.h"

#include <QStringDecoder>
#include <QStringList>

namespace vlx::platform {
namespace {

constexpr size_t kNone = size_t(-1);

// '*' any run of characters, '?' exactly one; the characters are compared as given.
template <class P, class S, class Fold>
bool globMatch(const P* p, size_t pn, const S* s, size_t sn, Fold fold) {
  size_t pi = 0, si = 0, star = kNone, mark = 0;
  while (si < sn) {
    if (pi < pn && p[pi] == '*') {
      star = pi++;
      mark = si;
    } else if (pi < pn && (p[pi] == '?' || p[pi] == fold(s[si]))) {
      ++pi;
      ++si;
    } else if (star != kNone) {
      pi = star + 1;
      si = ++mark;
    } else {
      return false;
    }
  }
  while (pi < pn && p[pi] == '*') ++pi;
  return pi == pn;
}

bool isAscii(QByteArrayView bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

std::u32string folded(const QString& text) {
  const QList<uint> ucs = text.toCaseFolded().toUcs4();
  return std::u32string(ucs.begin(), ucs.end());
}

}  // namespace

NamePattern::NamePattern(const QString& patterns) {
  QStringList parts;
  for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString t = p.trimmed();
    if (!t.isEmpty()) parts << t;
  }
  if (parts.isEmpty()) parts << QStringLiteral("*");
  bool ascii = true;
  for (QString& p : parts) {
    if (p == QStringLiteral("*.*") || p == QStringLiteral("*")) all_ = true;
    folded_.push_back(folded(p));
    ascii = ascii && isAscii(p.toUtf8());
  }
  if (ascii)
    for (const QString& p : parts) {
      std::string s = p.toStdString();
      for (char& c : s) c = lowerAscii(c);
      ascii_.push_back(std::move(s));
    }
}

bool NamePattern::matches(const QString& name) const {
  if (all_) return true;
  const std::u32string n = folded(name);
  for (const std::u32string& p : folded_)
    if (globMatch(p.data(), p.size(), n.data(), n.size(), [](char32_t c) { return c; }))
      return true;
  return false;
}

bool NamePattern::matches(QByteArrayView name) const {
  if (all_) return true;
  if (ascii_.empty() || !isAscii(name)) return matches(nameForMatching(name));
  for (const std::string& p : ascii_)
    if (globMatch(p.data(), p.size(), name.data(), size_t(name.size()), lowerAscii)) return true;
  return false;
}

bool nameLess(const QString& a, const QString& b) {
  const int c = a.compare(b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

QString nameForMatching(QByteArrayView name) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(name);
  return utf8.hasError() ? QString::fromLatin1(name.data(), name.size()) : text;
}

}  // namespace vlx::platform
