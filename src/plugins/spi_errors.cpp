#include "plugins/spi_errors.h"

namespace vlx::spierr {

const QString kUnexpected = QStringLiteral("予期されていないエラーが発生しました");
const QString kFatalInPlugIn = QStringLiteral("SPIファイル内の関数で致命的エラーが発生しました");
const QString kFunctionAbsent =
    QStringLiteral("呼び出そうとした関数はSPIファイルでサポートされていません");
const QString kCallFailed =
    QStringLiteral("SPI内部の関数呼び出し時に予期されていないエラーが発生しました");
const QString kInitialize = QStringLiteral("クラスの初期化エラーです");
const QString kTerminate = QStringLiteral("クラスの破棄処理エラーです");
const QString kHostMissing = QStringLiteral("SUSIECTL.DLL が見つかりません");

QString Message(int code) {
  switch (code) {
    case NotRegistered: return QStringLiteral("SPIファイルがクラスに登録されていません");
    case CannotLoad: return QStringLiteral("SPIファイルをロードできません");
    case NoFile: return QStringLiteral("画像(圧縮)ファイルがクラスに登録されていません");
    case Unsupported: return QStringLiteral("サポートされていないファイル形式です");
    case DecodeFailed: return QStringLiteral("画像の解凍に失敗しました");
    case SaveFailed: return QStringLiteral("ファイルの保存に失敗しました");
    case BadIndex: return QStringLiteral("指定されたインデックス番号は無効です");
    case MethodUnsupported:
      return QStringLiteral("このメソッドは現在登録されているSPIファイルではサポートされません");
    case PropertyUnsupported:
      return QStringLiteral(
          "このプロパティーは現在登録されているSPIファイルではサポートされません");
    case BadParameter:
      return QStringLiteral("クラスのメソッド、プロパティーが不正なパラメータで呼び出されました");
    case BadHandle: return QStringLiteral("メモリーハンドルが不正です");
    case BadSize: return QStringLiteral("メモリーのサイズが正しくありません");
    case NoFileName:
      return QStringLiteral(
          "パラメータにファイル名が指定されていません。ファイルをクラスから削除します");
    case DrawFailed: return QStringLiteral("画像イメージを表示する時にエラーが発生しました");
    case InvalidPlugIn:
      return QStringLiteral("登録されようとしたSPIファイルは有効な形式ではありません");
    default: return {};
  }
}

}  // namespace vlx::spierr
