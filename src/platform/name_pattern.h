// File-name patterns as the file lists take them: "*" and "?" wildcards, several patterns
// separated by ";", letter case ignored; "*.*" matches every name, with or without a dot.
// Also the order in which the lists sort names.
#pragma once
#include <QByteArrayView>
#include <QString>
#include <string>
#include <vector>

namespace vlx::platform {

class NamePattern {
 public:
  explicit NamePattern(const QString& patterns = QStringLiteral("*.*"));
  bool matches(const QString& name) const;
  // A name as the file system holds it. ASCII names are matched without decoding.
  bool matches(QByteArrayView name) const;

 private:
  std::vector<std::u32string> folded_;  // case-folded patterns
  std::vector<std::string> ascii_;      // the same, lower-cased, when every pattern is ASCII
  bool all_ = false;                    // some pattern matches every name
};

// The lists' order: letter case ignored, ties broken by the exact text.
bool nameLess(const QString& a, const QString& b);

// A name's text for matching: UTF-8 when it is valid UTF-8, otherwise one character per byte.
QString nameForMatching(QByteArrayView name);

}  // namespace vlx::platform
