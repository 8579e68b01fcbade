// The stamped symbols of the open map: the palette's choices, stamping by click and by
// longitude and latitude, undo, hide, clear, the symbol files and the custom symbols.
// The stamps are drawn after the map lines and before the labels (RenderHooks::symbols).
#include "app/mapsession.h"

#include "common/dms.h"
#include "common/paths.h"
#include "symbols/customsymbols.h"

#include <QFileInfo>

namespace oboro {

QString MapSession::markFolder() const { return QString::fromStdString(programPath(kMarkFolder)); }

void MapSession::installSymbolLayers()
{
    hooks.symbols = [this](RenderContext& ctx) {
        symbolImages.setFolder(markFolder());
        drawStamps(ctx.canvas, ctx.view, stamps, symbolImages, ctx.messages);
    };
}

void MapSession::drawStampOver(const StampRecord& r)
{
    if (!mapShown)
        return;
    symbolImages.setFolder(markFolder());
    MissingSymbols missing;
    drawStamp(canvas, view, r, symbolImages, missing, messages_);
    emit drawn(lastDraw);
}

void MapSession::openSymbolPalette(const std::function<bool(const Message&)>& confirm)
{
    if (!stamps.empty() && confirm(Message{kRestartStampsText, kStampTitle, MessageIcon::Question})) {
        stamps.clear();
        redraw();
    }
    emit changed();
}

bool MapSession::chooseSymbol(int symbol)
{
    if (!isKnownSymbol(symbol))
        return false;
    symbolPalette.symbol = symbol;
    symbolPalette.chosen = true;
    symbolImages.setFolder(markFolder());
    // A numbered mark without its picture cannot be stamped.
    symbolPalette.armed = !isNumberedMark(symbol) || symbolImages.exists(symbolFileName(symbol, kStandardStamp));
    emit changed();
    return symbolPalette.armed;
}

void MapSession::closeSymbolPalette()
{
    symbolPalette.armed = false;
    emit changed();
}

void MapSession::stampWhilePaused()
{
    messages_.show(kStampingOffText, kStampingOffTitle, MessageIcon::Exclamation);
    symbolPalette.armed = false;
    emit changed();
}

void MapSession::stampAt(int px, int py)
{
    SymbolPalette& p = symbolPalette;
    if (!p.chosen || !mapShown) {
        p.pending.reset();
        return;
    }
    if (p.disabled) {
        stampWhilePaused();
        return;
    }
    // The centre of the cursor's picture, kept as a point of the data so that it stays
    // on its place in either datum.
    const QPoint at = p.pending ? *p.pending
                                : PixelToDataUnits(view, px + kStampCursorOffset, py + kStampCursorOffset);
    p.pending.reset();
    symbolImages.setFolder(markFolder());
    if (isCustomSymbol(p.symbol) && !symbolImages.exists(symbolFileName(p.symbol, p.size))) {
        messages_.show(kBlankCustomText, kCustomSymbolTitle, MessageIcon::Exclamation);
        return;
    }
    if (static_cast<int>(stamps.size()) >= kStampCapacity) {
        messages_.show(kStampTableFullText, kStampTitle, MessageIcon::Exclamation);
        return;
    }
    const StampRecord r{p.symbol, at.x(), at.y(), p.color, p.size, p.transparent};
    stamps.push_back(r);
    if (!tools.symbolsShown) {
        // A new stamp is meant to be seen: hidden stamps come back with it.
        tools.symbolsShown = true;
        redraw();
    } else {
        drawStampOver(r);
    }
    emit changed();
}

void MapSession::stampAtLonLat(const std::string& lonText, const std::string& latText, bool gsiCorrection)
{
    if (symbolPalette.disabled) {
        stampWhilePaused();
        return;
    }
    if (!symbolPalette.chosen) {
        messages_.show(kNoSymbolChosenText, kStampTitle, MessageIcon::Exclamation);
        return;
    }
    const float lon = parseDms(lonText);
    if (lon < 0) {
        messages_.show(kDmsErrorText, kDmsErrorTitle);
        return;
    }
    const float lat = parseDms(latText);
    if (lat < 0) {
        messages_.show(kDmsErrorText, kDmsErrorTitle);
        return;
    }
    QPoint at(longitudeToMapX(lon), latitudeToMapY(lat));
    if (gsiCorrection)
        at += QPoint(kGsiCorrectionX, kGsiCorrectionY);
    symbolPalette.pending = at;
    stampAt(0, 0);
}

void MapSession::undoStamp()
{
    if (stamps.empty())
        return;
    stamps.pop_back();
    redraw();
    emit changed();
}

void MapSession::clearStamps(const std::function<bool(const Message&)>& confirm)
{
    if (stamps.empty() || !confirm(Message{kClearStampsText, kStampTitle, MessageIcon::Question}))
        return;
    stamps.clear();
    redraw();
    emit changed();
}

void MapSession::toggleStampsShown()
{
    tools.symbolsShown = !tools.symbolsShown;
    if (tools.symbolsShown && mapShown) {
        // Shown again: drawn over the picture as it is.
        symbolImages.setFolder(markFolder());
        drawStamps(canvas, view, stamps, symbolImages, messages_);
        emit drawn(lastDraw);
    } else {
        redraw();
    }
    emit changed();
}

void MapSession::toggleStampingDisabled()
{
    symbolPalette.disabled = !symbolPalette.disabled;
    symbolPalette.armed = !symbolPalette.disabled && symbolPalette.chosen;
    // A distance drag that was starting is abandoned.
    twoPoint.cancel();
    overlay.measureLine.reset();
    emit changed();
}

void MapSession::setStampColor(Color c)
{
    symbolPalette.color = c & 0xFFFFFFu;
    emit changed();
}

void MapSession::setStampSize(int size)
{
    if (!isStampSize(size))
        return;
    symbolPalette.size = size;
    emit changed();
}

void MapSession::setStampTransparent(bool on)
{
    symbolPalette.transparent = on;
    emit changed();
}

bool MapSession::readStamps(const std::string& path, StampFileKind kind, bool append)
{
    const bool adding = append && kind == StampFileKind::Mks;
    const int room = kStampCapacity - (adding ? static_cast<int>(stamps.size()) : 0);
    StampFileRead read = readStampFile(path, kind, room);
    if (!read.ok()) {
        messages_.show(*read.error);
        return false;
    }
    if (!adding)
        stamps.clear();
    stamps.insert(stamps.end(), read.records.begin(), read.records.end());
    symbolPalette.lastFileName = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    tools.symbolsShown = true;
    redraw();
    emit changed();
    return true;
}

bool MapSession::writeStamps(const std::string& path, StampFileKind kind)
{
    if (kind == StampFileKind::Mks && stamps.empty()) {
        messages_.show(kNoStampsToSaveText, kStampSaveErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    if (!writeStampFile(path, stamps, kind, messages_))
        return false;
    symbolPalette.lastFileName = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    emit changed();
    return true;
}

bool MapSession::deleteCustomSymbols(const std::function<bool(const Message&)>& confirm)
{
    if (!confirm(Message{kDeleteCustomText, kCustomSymbolTitle, MessageIcon::Question}))
        return false;
    oboro::deleteCustomSymbols(markFolder());
    symbolImages.reload();
    // The palette starts again as at the start of the program.
    const std::string lastFile = symbolPalette.lastFileName;
    symbolPalette = SymbolPalette{};
    symbolPalette.lastFileName = lastFile;
    tools.symbolsShown = true;
    redraw();
    emit changed();
    return true;
}

bool MapSession::copyCustomSymbolsIn(const QString& folder, const std::function<bool(const Message&)>& confirm)
{
    if (sameFolder(folder, markFolder())) {
        messages_.show(kSameFolderText, kCustomSymbolTitle, MessageIcon::Exclamation);
        return false;
    }
    if (!confirm(Message{copyInQuestion(folder), kCustomSymbolTitle, MessageIcon::Question}))
        return false;
    copyCustomSymbols(folder, markFolder(), messages_);
    symbolImages.reload();
    redraw();
    emit changed();
    return true;
}

bool MapSession::copyCustomSymbolsOut(const QString& folder, const std::function<bool(const Message&)>& confirm)
{
    if (sameFolder(folder, markFolder())) {
        messages_.show(kSameFolderText, kCustomSymbolTitle, MessageIcon::Exclamation);
        return false;
    }
    if (!confirm(Message{copyOutQuestion(folder), kCustomSymbolTitle, MessageIcon::Question}))
        return false;
    copyCustomSymbols(markFolder(), folder, messages_);
    return true;
}

QPoint MapSession::readoutPoint(QPoint pointer) const
{
    return stampingArmed() ? pointer + QPoint(kStampCursorOffset, kStampCursorOffset) : pointer;
}

} // namespace oboro
