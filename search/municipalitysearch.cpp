#include "search/municipalitysearch.h"

#include "common/textfile.h"
#include "mapdata/namelists.h"
#include "view/navigation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace oboro {

namespace {

constexpr std::string_view kKe = "ケ";
constexpr std::string_view kSmallKe = "ヶ";
constexpr std::string_view kKu = "区";

std::string format1(const char* fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

bool inTable(std::string_view name, const char* const (&table)[5])
{
    for (const char* t : table)
        if (name == t)
            return true;
    return false;
}

// The duplicate-name list has an entry of this name in this area.
bool listCovers(const MapStore& store, std::string_view name, int area)
{
    for (const DuplicateNameEntry& e : store.duplicateNames)
        if (e.area == area && e.name == name)
            return true;
    return false;
}

SearchResult messageResult(Message m, std::string name)
{
    SearchResult r;
    r.kind = SearchResultKind::Message;
    r.message = std::move(m);
    r.name = std::move(name);
    return r;
}

} // namespace

const char* const kKeNames[5] = {"金ケ崎町", "龍ケ崎市", "鎌ケ谷市", "袖ケ浦市", "保土ケ谷区"};
const char* const kSmallKeNames[5] = {"金ヶ崎町", "龍ヶ崎市", "鎌ヶ谷市", "袖ヶ浦市", "保土ヶ谷区"};

std::string notFoundText(std::string_view name)
{
    return "'" + std::string(name) + "' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください";
}

std::string areaPleaseWaitText(std::string_view name) { return std::string(name) + " の面積を計算しています"; }

std::string normaliseSearchName(std::string_view name)
{
    std::string out(name);
    // Character-wise in UTF-8, so a ケ is never "found" across two characters.
    const size_t small = out.find(kSmallKe);
    const size_t large = out.find(kKe);
    if (small != std::string::npos) {
        if (inTable(out, kSmallKeNames))
            out.replace(small, kSmallKe.size(), kKe);
    } else if (large != std::string::npos) {
        if (!inTable(out, kKeNames))
            out.replace(large, kKe.size(), kSmallKe);
    }
    return out;
}

bool endsWithKu(std::string_view name) { return name.ends_with(kKu); }

bool endsWithKuBeforeParen(std::string_view name)
{
    const size_t paren = name.find('(');
    return endsWithKu(paren == std::string_view::npos ? name : name.substr(0, paren));
}

std::string choiceSummary(const std::vector<SearchCandidate>& candidates)
{
    std::string out;
    for (size_t i = 0; i < candidates.size(); ++i) {
        out += candidates[i].label;
        out += (i == 3 && candidates.size() > 4) ? "\n" : " ";
    }
    return out;
}

int mensekiMagnification(float sizeKm, float* step)
{
    float s = 0.2f;
    if (sizeKm > 200.0f)
        s = 0.5f;
    if (sizeKm > 400.0f)
        s = 1.0f;
    const float value = sizeKm * 0.02f;
    const float c = value / s;
    int count = (c == c && c < 10000.0f) ? static_cast<int>(c) : 10000;
    if (static_cast<float>(count) * s < 3.0f)
        count = static_cast<int>(3.01f / s);
    if (step)
        *step = s;
    return count;
}

int searchMagnification(int area, bool menseki, float baseScale, float* step)
{
    int count = 2;
    float s = 1.0f;
    if (menseki) {
        count = mensekiMagnification(areaInfo(area).sideKm, &s);
    } else {
        const float k = area == 46 ? 0.1f : 0.05f;
        const float c = k / baseScale;
        // A degenerate base scale (no line in the area) must not give an undefined count.
        count = (c == c && c < 10000.0f) ? static_cast<int>(c) : (c == c ? 10000 : 2);
        if (count < 2)
            count = 2;
    }
    count = std::clamp(count, 1, 10000); // the up-down's range
    if (step)
        *step = s;
    return count;
}

void SearchShow::applyTo(MainSwitches& main, DisplayState& display) const
{
    main.CBNTownBorder = CBNTownBorder;
    main.CBTownName = CBTownName;
    main.CBCenter = CBCenter;
    if (CBOldTown)
        main.CBOldTown = *CBOldTown;
    main.CBExp = CBExp;
    display.CheckBox13 = CheckBox13;
    display.CBCityName = CBCityName;
    display.CBKuName = CBKuName;
    display.CBKu = CBKu;
    display.CBKuDot = CBKuDot;
}

std::optional<std::string> otherKeSpelling(std::string_view name)
{
    std::string out(name);
    if (const size_t small = out.find(kSmallKe); small != std::string::npos)
        return out.replace(small, kSmallKe.size(), kKe);
    if (const size_t large = out.find(kKe); large != std::string::npos)
        return out.replace(large, kKe.size(), kSmallKe);
    return std::nullopt;
}

SearchResult MunicipalitySearch::find(std::string_view edName, const MapStore& store, SearchSwitches sw)
{
    if (edName.empty() || edName == kSearchPlaceholder)
        return messageResult(Message{kEmptySearchText, kEmptySearchTitle, MessageIcon::Exclamation}, std::string());

    SearchResult r = findName(normaliseSearchName(edName), store, sw);
    if (r.kind != SearchResultKind::Message)
        return r;
    // Map data that spells the name the other way still finds it, under its own spelling.
    if (const std::optional<std::string> other = otherKeSpelling(r.name)) {
        SearchResult o = findName(*other, store, sw);
        if (o.kind != SearchResultKind::Message)
            return o;
    }
    return r;
}

SearchResult MunicipalitySearch::findName(const std::string& searched, const MapStore& store, SearchSwitches sw)
{
    SearchResult r;
    r.name = searched;
    const std::string& name = r.name;

    // Designated cities: their map files hold only the wards.
    for (const DesignatedCityEntry& c : store.designatedCities) {
        if (c.name == name) {
            r.kind = SearchResultKind::Hit;
            r.designatedCity = true;
            r.candidates.push_back(SearchCandidate{c.area, c.x, c.y, truncateSjis(areaInfo(c.area).name, kCandidateLabelBytes)});
            return r;
        }
    }

    const bool listed = inDuplicateList(store, name);
    auto add = [&r](SearchCandidate c) {
        if (static_cast<int>(r.candidates.size()) < kMaxCandidates)
            r.candidates.push_back(std::move(c));
    };

    // Names that occur more than once in one prefecture: the list gives each place.
    for (const DuplicateNameEntry& e : store.duplicateNames) {
        if (e.name != name || e.area < 1 || e.area > kAreaCount)
            continue;
        const std::string label = endsWithKuBeforeParen(name)
                                      ? e.cityName
                                      : std::string(areaInfo(e.area).name) + "(" + e.cityName + ")";
        add(SearchCandidate{e.area, e.x, e.y, truncateSjis(label, kCandidateLabelBytes)});
    }

    // The map files of the areas the list does not cover for this name.
    if (const std::optional<std::string> sjis = utf8ToSjis(name)) {
        for (const NameOccurrence& o : index_.occurrences(*sjis)) {
            if (!listCovers(store, name, o.area))
                add(SearchCandidate{o.area, o.x, o.y, truncateSjis(areaInfo(o.area).name, kCandidateLabelBytes)});
        }
    }

    if (r.candidates.empty())
        return messageResult(Message{notFoundText(name), kNotFoundTitle, MessageIcon::Question}, name);

    if (sw.menseki && sw.townPaint)
        r.pleaseWait = areaPleaseWaitText(name);
    r.kind = (r.candidates.size() > 1 || listed) ? SearchResultKind::Choice : SearchResultKind::Hit;
    return r;
}

SearchShow MunicipalitySearch::show(const SearchResult& r, const SearchCandidate& chosen, std::string_view typedText,
                                    MapStore& store, ViewState& view, const LoadOptions& opt, SearchSwitches sw,
                                    MessageSink& sink)
{
    SearchShow s;
    if (r.kind == SearchResultKind::Message)
        return s;

    // Which record the name matched in the chosen area (no file is read for a designated
    // city or a ward of the duplicate-name list; then no record matched).
    FoundAs found;
    if (!r.designatedCity && !(endsWithKu(r.name) && listCovers(store, r.name, chosen.area))) {
        if (const std::optional<std::string> sjis = utf8ToSjis(r.name)) {
            if (const std::optional<NameOccurrence> o = index_.lookup(chosen.area, *sjis)) {
                found.A = o->tag == 'A';
                found.B = o->tag == 'B';
                found.X = o->tag == 'X';
            }
        }
    }

    // The area alone. A half-done range drag has no meaning for the new map.
    std::string missing;
    if (!loadMapFiles(store, std::vector<int>{chosen.area}, opt, sink, &missing)) {
        sink.show(kMapFileNotFoundText, kMapFileNotFoundTitle, MessageIcon::Exclamation);
        return s;
    }
    view.rangeDragging = false;
    view.rangeApplied = false;
    view.viewRestore = false;
    s.setUp = SetUpView(view, store, 1);

    view.centerX = chosen.x;
    view.centerY = chosen.y;
    float step = 1.0f;
    const int count = searchMagnification(chosen.area, sw.menseki, view.baseScale, &step);
    view.magStep = step;
    view.magCount = count;
    s.magCount = count;
    s.magStep = step;
    s.magnificationLabel = magnificationLabel(count, step);

    s.CBTownName = true;
    s.CBNTownBorder = false;
    s.CheckBox13 = sw.townPaint;
    s.CBCenter = !sw.townPaint;
    if (r.designatedCity) {
        s.CBCityName = true;
        s.CBKuName = false;
        s.CBKu = false;
    } else {
        s.CBCityName = false;
        s.CBKuName = true;
        s.CBKu = true;
    }
    if (found.B) {
        s.CBNTownBorder = false;
        s.CBOldTown = false;
        s.label24Text = "新名称";
        s.label24Color = 255;
    } else if (found.X) {
        s.CBNTownBorder = true;
        s.CBOldTown = true;
        s.label24Text = "旧名称";
        s.label24Color = 65535;
    }
    s.CBKuDot = !(endsWithKu(r.name) && sw.townPaint);
    s.CBExp = false;
    s.label31Text = format1("%8.0f km", 0.0);
    s.label15Text = format1("%7.2f km", 0.0);
    s.searchName = r.name;
    s.ok = true;

    last_.valid = true;
    last_.name = r.name;
    last_.designatedCityHit = r.designatedCity;
    last_.searchedCityName = r.designatedCity ? r.name : std::string();
    last_.area = chosen.area;
    last_.x = chosen.x;
    last_.y = chosen.y;
    last_.foundAs = found;

    if (recorder_)
        recorder_(std::string(typedText));
    return s;
}

} // namespace oboro
