#pragma once
// Municipality name search: the typed name is normalised (ケ / ヶ), looked up in the
// designated-city list, the duplicate-name list and the names of every area's map file
// (through the name index), and the chosen place is shown: its area alone is loaded, the
// view is centred on the name position at a fixed magnification, and the switches to set
// are handed back to the main window.
//
// The main window's road:
//   1. r = search.find(EdName text, store, {CBTownPaint, CBMenseki})
//   2. EdName = r.name (unless r.kind == Message and r.name is empty)
//   3. r.kind == Message: show r.message; nothing else changes.
//      r.kind == Choice: let TDataCheck choose among r.candidates; closed without a
//                        choice: nothing changes.
//      r.kind == Hit:    the chosen candidate is r.candidates[0].
//   4. drawing off; please-wait window with r.pleaseWait when set;
//      s = search.show(r, chosen, ComboBox1 text, store, view, loadOptions, switches, sink)
//      s.ok false: the map file is gone (the sink had the message), drawing back as it
//      was, nothing changed. Otherwise apply s (SearchShow below), drawing on, DrawMap
//      once; the history recorder has been called with the typed text.
#include "common/canvas.h"
#include "common/messages.h"
#include "mapdata/loader.h"
#include "mapdata/store.h"
#include "search/nameindex.h"
#include "view/display.h"
#include "view/projection.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oboro {

inline constexpr const char* kSearchPlaceholder = "市区町村名";
inline constexpr const char* kEmptySearchText = "検索する市区町村名を入れてください　　　";
inline constexpr const char* kEmptySearchTitle = "検索データエラー";
inline constexpr const char* kNotFoundTitle = "検索エラー";
// "'%s' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください"
std::string notFoundText(std::string_view name);
// "%s の面積を計算しています": the please-wait text while the total area is measured.
std::string areaPleaseWaitText(std::string_view name);

inline constexpr int kMaxCandidates = 100;
inline constexpr size_t kCandidateLabelBytes = 19; // Shift-JIS bytes of a label

// The five names spelled with the large ケ and the same names with the small ヶ.
extern const char* const kKeNames[5];
extern const char* const kSmallKeNames[5];

// The ケ / ヶ normalisation: the five listed names are searched with ケ, every other
// name with ヶ (a name holding both counts as holding ヶ and is kept).
std::string normaliseSearchName(std::string_view name);
// The name with its first ヶ turned into ケ, or else its first ケ into ヶ (nullopt when it
// has neither). The search tries it when the normalised name is found nowhere, so map
// data that spells a name the other way is still searchable.
std::optional<std::string> otherKeSpelling(std::string_view name);

// The name's last character is 区.
bool endsWithKu(std::string_view name);
// The same, looking only at the text before the first "(".
bool endsWithKuBeforeParen(std::string_view name);

struct SearchCandidate {
    int area = 0;
    int32_t x = 0; // name position, map units
    int32_t y = 0;
    std::string label; // shown to the user, at most 19 Shift-JIS bytes
    bool operator==(const SearchCandidate&) const = default;
};

struct SearchSwitches {
    bool townPaint = true; // CBTownPaint 市町村検索ペイント
    bool menseki = false;  // CBMenseki 総面積表示
};

enum class SearchResultKind {
    Message, // show `message`; nothing changes
    Hit,     // one candidate, shown without asking
    Choice,  // ask with the choice window among `candidates`
};

struct SearchResult {
    SearchResultKind kind = SearchResultKind::Message;
    Message message;
    std::string name;                        // normalised name, written back into EdName
    bool designatedCity = false;             // matched the designated-city list
    std::vector<SearchCandidate> candidates; // in order: list entries, then areas 1..52
    std::optional<std::string> pleaseWait;   // please-wait text while the area is measured
};

// Which record the last map file lookup matched.
struct FoundAs {
    bool A = false;
    bool B = false;
    bool X = false;
    bool operator==(const FoundAs&) const = default;
};

// What the last successful search left for the search paint and the measurement.
struct LastSearch {
    bool valid = false;
    std::string name;              // the name searched (normalised)
    bool designatedCityHit = false;
    std::string searchedCityName;  // the designated city's name when it was one
    int area = 0;                  // hit
    int32_t x = 0, y = 0;
    FoundAs foundAs;
};

// What the main window sets after a search shows its place, with drawing off, before
// its one redraw. The view and store have already been changed (area loaded, view set
// up, centre and magnification set).
struct SearchShow {
    bool ok = false;           // false: nothing was changed (the sink had the message)
    ViewSetUp setUp;           // control effects of the view set-up, applied first
    int magCount = 2;          // magnification up-down UpDown1 (also in the view)
    float magStep = 1.0f;      // 拡大係数 in effect: check its menu entry, uncheck the others
    std::string magnificationLabel; // "%4.2f" beside 倍率
    // Main window switches.
    bool CBNTownBorder = false;
    bool CBTownName = true;
    bool CBCenter = false;
    std::optional<bool> CBOldTown; // set only when found as a post- or pre-merger name; enabled always
    bool CBExp = false;
    // Settings window switches.
    bool CheckBox13 = false;   // 背景色白
    bool CBCityName = false;
    bool CBKuName = true;
    bool CBKu = true;
    bool CBKuDot = true;
    // Label24: "新名称" in red, "旧名称" in yellow, or empty.
    std::string label24Text;
    Color label24Color = 0;
    // The measurement readouts are reset: Label31, Label15, Label17.
    std::string label31Text;   // "%8.0f km" of 0
    std::string label15Text;   // "%7.2f km" of 0
    std::string label17Text = "周長";
    std::string searchName;    // the searched name (EdName, the measuring window's text)
    // Fixed effects the main window also performs after applying: enable CBRailLine,
    // CBEki, BtnLetter, the menu entry "ペイント作業を開始する" and Button1; set the
    // map-shown flag; uncheck the paint window's CBAllPaint and set its name box to
    // "市区町村名"; empty Label19; enable CBYomi and CBOldTown; close the legend editor
    // and the paint window.

    // Sets the switches on the state records (for callers without check boxes; the main
    // window sets its check boxes so that their behaviour runs).
    void applyTo(MainSwitches& main, DisplayState& display) const;
};

class MunicipalitySearch {
public:
    // Finds the name (the EdName text). Candidates: the designated-city list (first equal
    // entry, alone); otherwise the duplicate-name list entries of the name, labelled by
    // their city ("北区" → "大阪市") or by area and county ("美里町" → "宮城県(遠田郡)"),
    // then the first name record in the map file of every area the list does not cover
    // for this name, labelled by the area name. Reads nothing from disk once the index
    // is built and the map files are unchanged (52 file checks).
    SearchResult find(std::string_view edName, const MapStore& store, SearchSwitches sw);

    // Shows the chosen candidate of a Hit or Choice result: loads its area alone into
    // the store, sets up the view, centres it on the candidate and sets the
    // magnification; records typedText (the ComboBox1 text as typed) in the history.
    // When the area's map file cannot be read the sink shows kMapFileNotFoundText and
    // store, view and the last search stay as they were.
    SearchShow show(const SearchResult& r, const SearchCandidate& chosen, std::string_view typedText, MapStore& store,
                    ViewState& view, const LoadOptions& opt, SearchSwitches sw, MessageSink& sink);

    // Called with the typed text after every successful search (the search history).
    void setHistoryRecorder(std::function<void(const std::string&)> recorder) { recorder_ = std::move(recorder); }

    // A map file was rewritten (area 1..52, or 0 for all).
    void invalidate(int area = 0) { index_.invalidate(area); }
    MapNameIndex& index() { return index_; }

    const LastSearch& last() const { return last_; }

private:
    SearchResult findName(const std::string& name, const MapStore& store, SearchSwitches sw);

    MapNameIndex index_;
    std::function<void(const std::string&)> recorder_;
    LastSearch last_;
};

// Summary of the choice window's Label2: the labels each followed by a blank, with a
// line break after the fourth when there are more than four.
std::string choiceSummary(const std::vector<SearchCandidate>& candidates);

// The magnification count of a shown search place: with the total-area switch by the
// area's size, otherwise by the base scale (0.1 for 沖縄, 0.05 elsewhere, at least 2).
// Returns the count and sets *step.
int searchMagnification(int area, bool menseki, float baseScale, float* step);
// The total-area rule alone: step 0.2, 0.5 above 200 km, 1.0 above 400 km; count =
// trunc(size × 0.02 ÷ step), raised to trunc(3.01 ÷ step) when count × step is below 3.
int mensekiMagnification(float sizeKm, float* step);

} // namespace oboro
