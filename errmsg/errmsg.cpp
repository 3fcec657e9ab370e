// The error-message library: the explanatory text of every run-time error number the runtime
// raises, in Japanese (Shift-JIS, the original export) and in English (ASCII, a second export
// that an English game asks). The runtime loads it at run time, asks for one text and unloads it
// again.
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
    std::string_view text;     // Shift-JIS
    std::string_view english;  // ASCII, so no longer in bytes than the room a report gives
};

constexpr Message kMessages[] = {
    {3, kSjis<"対応する呼び出しのない RETURN です"_sj>, "RETURN without a matching call"},
    {5, kSjis<"関数の呼び出しまたは引数の値が正しくありません"_sj>, "Illegal function call or argument value"},
    {6, kSjis<"オーバーフローしました"_sj>, "Overflow"},
    {7, kSjis<"メモリが足りません"_sj>, "Out of memory"},
    {9, kSjis<"配列の添字が範囲を超えています"_sj>, "Array subscript out of range"},
    {10, kSjis<"配列はすでに宣言されています"_sj>, "Array already dimensioned"},
    {11, kSjis<"0 で除算しました"_sj>, "Division by zero"},
    {13, kSjis<"データの型が一致しません"_sj>, "Type mismatch"},
    {15, kSjis<"文字列が長すぎます"_sj>, "String too long"},
    {16, kSjis<"文字列式が複雑すぎます"_sj>, "String expression too complex"},
    {19, kSjis<"エラー処理中にプロシージャを抜けました"_sj>, "Procedure left while handling an error"},
    {20, kSjis<"エラー処理中でないのに RESUME を実行しました"_sj>, "RESUME without an error being handled"},
    {27, kSjis<"システムエラーが発生しました"_sj>, "A system error occurred"},
    {28, kSjis<"この機能はサポートされていません"_sj>, "This feature is not supported"},
    {32, kSjis<"サブルーチンの呼び出しが深すぎます"_sj>, "Subroutine calls nested too deeply"},
    {50, kSjis<"ファイル番号が正しくありません"_sj>, "Bad file number"},
    {51, kSjis<"ファイルモードが正しくありません"_sj>, "Bad file mode"},
    {52, kSjis<"ファイルはすでに開かれています"_sj>, "File already open"},
    {53, kSjis<"このデバイスからは入力できません"_sj>, "Input is not possible from this device"},
    {54, kSjis<"ファイルの終わりを越えて読み込もうとしました"_sj>, "Input past end of file"},
    {55, kSjis<"ファイル名が正しくありません"_sj>, "Bad file name"},
    {56, kSjis<"デバイス名が正しくありません"_sj>, "Bad device name"},
    {57, kSjis<"ファイルが開かれていません"_sj>, "File not open"},
    {58, kSjis<"数値のデータがありません"_sj>, "No numeric data"},
    {59, kSjis<"ドライブがロックされています"_sj>, "Drive locked"},
    {60, kSjis<"デバイスエラーが発生しました"_sj>, "Device error"},
    {61, kSjis<"ファイル名が長すぎます"_sj>, "File name too long"},
    {62, kSjis<"入力データが数値ではありません"_sj>, "Input data is not a number"},
    {63, kSjis<"ファイルが見つかりません"_sj>, "File not found"},
    {64, kSjis<"ファイルはすでに存在します"_sj>, "File already exists"},
    {65, kSjis<"ネットワークにアクセスできません"_sj>, "Network not accessible"},
    {66, kSjis<"開いているファイルが多すぎます"_sj>, "Too many files open"},
    {67, kSjis<"ディスクに書き込めません（空き容量が足りません）"_sj>, "Disk full: cannot write"},
    {68, kSjis<"デバイスが使用できません"_sj>, "Device unavailable"},
    {69, kSjis<"通信バッファがあふれました"_sj>, "Communication buffer overflow"},
    {70, kSjis<"ファイルの名前を変更できません"_sj>, "Cannot rename the file"},
    {71, kSjis<"ディスクを読み取れません"_sj>, "Disk not readable"},
    {72, kSjis<"ドライブが使用できません"_sj>, "Drive not available"},
    {73, kSjis<"ディスクが書き込み禁止になっています"_sj>, "Disk write-protected"},
    {74, kSjis<"別のドライブには名前を変更できません"_sj>, "Cannot rename to another drive"},
    {75, kSjis<"ファイルにアクセスできません"_sj>, "File access denied"},
    {76, kSjis<"イベント処理中またはエラー処理中には実行できません"_sj>,
     "Not allowed while handling an event or an error"},
    {81, kSjis<"プロシージャを呼び出すためのスタックが足りません"_sj>, "Out of stack space for procedure calls"},
    {82, kSjis<"プロシージャの呼び出しが正しくありません"_sj>, "Bad procedure call"},
    {89, kSjis<"表示する項目のためのメモリが足りません"_sj>, "Out of memory for the items to show"},
    {90, kSjis<"メインウィンドウには描画できません"_sj>, "Cannot draw in the main window"},
    {1000, kSjis<"デバイスまたはウィンドウがありません"_sj>, "No such device or window"},
    {1002, kSjis<"デバイスの種類が正しくありません"_sj>, "Bad device type"},
    {1006, kSjis<"このウィンドウでは行入力できません"_sj>, "This window takes no line input"},
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

// Copies the `text` of message `number` into `buffer` as far as it fits, ending it; 0 when no
// message has that number.
int CopyMessage(int number, char* buffer, unsigned size, std::string_view Message::*text) {
    if (!buffer || size == 0) return 0;
    const auto* found = std::find_if(std::begin(kMessages), std::end(kMessages),
                                     [number](const Message& m) { return m.number == number; });
    if (found == std::end(kMessages)) return 0;
    const std::string_view chosen = (*found).*text;
    const std::size_t length = FittingLength(chosen, size - 1);
    std::copy_n(chosen.data(), length, buffer);
    buffer[length] = '\0';
    return 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int PbGetErrMsg(void* /*handle*/, int number, char* buffer,
                                                                  unsigned size) {
    return CopyMessage(number, buffer, size, &Message::text);
}

extern "C" __attribute__((visibility("default"))) int PbGetErrMsgEn(void* /*handle*/, int number, char* buffer,
                                                                    unsigned size) {
    return CopyMessage(number, buffer, size, &Message::english);
}
