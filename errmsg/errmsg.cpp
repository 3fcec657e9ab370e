// The error-message library: the Japanese explanatory text of every run-time error number the
// runtime raises. The runtime loads it at run time, asks for one text and unloads it again.
#include <algorithm>
#include <cstddef>
#include <string_view>

#include "runtime/values/sjis_literal.h"

namespace {

using kestran::literals::operator""_sj;

// A template parameter object lives for the whole program, so its bytes can be pointed at.
template <auto Literal>
constexpr std::string_view kSjis = Literal.view();

struct Message {
    int number;
    std::string_view text;  // Shift-JIS
};

constexpr Message kMessages[] = {
    {3, kSjis<"対応する呼び出しのない RETURN です"_sj>},
    {5, kSjis<"関数の呼び出しまたは引数の値が正しくありません"_sj>},
    {6, kSjis<"オーバーフローしました"_sj>},
    {7, kSjis<"メモリが足りません"_sj>},
    {9, kSjis<"配列の添字が範囲を超えています"_sj>},
    {10, kSjis<"配列はすでに宣言されています"_sj>},
    {11, kSjis<"0 で除算しました"_sj>},
    {13, kSjis<"データの型が一致しません"_sj>},
    {15, kSjis<"文字列が長すぎます"_sj>},
    {16, kSjis<"文字列式が複雑すぎます"_sj>},
    {19, kSjis<"エラー処理中にプロシージャを抜けました"_sj>},
    {20, kSjis<"エラー処理中でないのに RESUME を実行しました"_sj>},
    {27, kSjis<"システムエラーが発生しました"_sj>},
    {28, kSjis<"この機能はサポートされていません"_sj>},
    {32, kSjis<"サブルーチンの呼び出しが深すぎます"_sj>},
    {50, kSjis<"ファイル番号が正しくありません"_sj>},
    {51, kSjis<"ファイルモードが正しくありません"_sj>},
    {52, kSjis<"ファイルはすでに開かれています"_sj>},
    {53, kSjis<"このデバイスからは入力できません"_sj>},
    {54, kSjis<"ファイルの終わりを越えて読み込もうとしました"_sj>},
    {55, kSjis<"ファイル名が正しくありません"_sj>},
    {56, kSjis<"デバイス名が正しくありません"_sj>},
    {57, kSjis<"ファイルが開かれていません"_sj>},
    {58, kSjis<"数値のデータがありません"_sj>},
    {59, kSjis<"ドライブがロックされています"_sj>},
    {60, kSjis<"デバイスエラーが発生しました"_sj>},
    {61, kSjis<"ファイル名が長すぎます"_sj>},
    {62, kSjis<"入力データが数値ではありません"_sj>},
    {63, kSjis<"ファイルが見つかりません"_sj>},
    {64, kSjis<"ファイルはすでに存在します"_sj>},
    {65, kSjis<"ネットワークにアクセスできません"_sj>},
    {66, kSjis<"開いているファイルが多すぎます"_sj>},
    {67, kSjis<"ディスクに書き込めません（空き容量が足りません）"_sj>},
    {68, kSjis<"デバイスが使用できません"_sj>},
    {69, kSjis<"通信バッファがあふれました"_sj>},
    {70, kSjis<"ファイルの名前を変更できません"_sj>},
    {71, kSjis<"ディスクを読み取れません"_sj>},
    {72, kSjis<"ドライブが使用できません"_sj>},
    {73, kSjis<"ディスクが書き込み禁止になっています"_sj>},
    {74, kSjis<"別のドライブには名前を変更できません"_sj>},
    {75, kSjis<"ファイルにアクセスできません"_sj>},
    {76, kSjis<"イベント処理中またはエラー処理中には実行できません"_sj>},
    {81, kSjis<"プロシージャを呼び出すためのスタックが足りません"_sj>},
    {82, kSjis<"プロシージャの呼び出しが正しくありません"_sj>},
    {89, kSjis<"表示する項目のためのメモリが足りません"_sj>},
    {90, kSjis<"メインウィンドウには描画できません"_sj>},
    {1000, kSjis<"デバイスまたはウィンドウがありません"_sj>},
    {1002, kSjis<"デバイスの種類が正しくありません"_sj>},
    {1006, kSjis<"このウィンドウでは行入力できません"_sj>},
};

// The length of the longest prefix of `text` that fits in `room` bytes without cutting a
// double-byte character in two.
std::size_t FittingLength(std::string_view text, std::size_t room) {
    std::size_t end = 0;
    while (end < text.size()) {
        const auto b = static_cast<unsigned char>(text[end]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const std::size_t next = end + (lead && end + 1 < text.size() ? 2 : 1);
        if (next > room) break;
        end = next;
    }
    return end;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int PbGetErrMsg(void* /*handle*/, int number, char* buffer,
                                                                  unsigned size) {
    if (!buffer || size == 0) return 0;
    const auto* found = std::find_if(std::begin(kMessages), std::end(kMessages),
                                     [number](const Message& m) { return m.number == number; });
    if (found == std::end(kMessages)) return 0;
    const std::size_t length = FittingLength(found->text, size - 1);
    std::copy_n(found->text.data(), length, buffer);
    buffer[length] = '\0';
    return 1;
}
