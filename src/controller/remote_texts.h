// remote: the Controller's captions and sizes that its load and its options share.
#pragma once
#include <QString>

namespace vlx::controller_texts {

inline const QString kCaption = QStringLiteral("V L X      [Controller]");
inline const QString kCaptionOption = QStringLiteral("V L X      [Controller]  [Option]");
inline const QString kOptionOpen = QStringLiteral("option　　▽");
inline const QString kOptionClose = QStringLiteral("smart　　△");
inline const QString kShowTop = QStringLiteral("show top");
inline const QString kShowNormal = QStringLiteral("show normal");
constexpr double kCompactHeight = 2115, kCompactWidth = 4650;
constexpr double kExpandedHeight = 2600, kExpandedWidth = 7075;

}  // namespace vlx::controller_texts
