// The main window's map: selection, drawing, navigation, the map's mouse handlers and
// painting. The window-free pieces (loader, projection, DrawMap, navigation, paint) do
// the work; this file binds them to the controls.
#include "app/gui/shellwindows.h"
#include "app/gui/tkbtn.h"
#include "app/gui/topen.h"
#include "app/exitsequence.h"
#include "app/gui/updown.h"
#include "mapdata/namelists.h"
#include "view/imageexport.h"
#include "common/dms.h"
#include "common/log.h"
#include "common/paths.h"
#include "mapdata/loader.h"
#include "paint/gui/tmappaint.h"
#include "search/gui/searchflow.h"
#include "search/gui/tdatacheck.h"
#include "settings/displaysettings.h"
#include "settings/gui/tken.h"
#include "settings/gui/tsettei.h"
#include "view/layers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWheelEvent>

#include <cstdio>

namespace oboro {

namespace {

constexpr Color kRubberBand = 0xFFFF00;

QString kmText(const char* format, float km)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, static_cast<double>(km));
    return QString::fromLatin1(buf);
}

void setTextColor(QLabel* label, const char* color)
{
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(QLatin1String(color)));
}

// Checks or unchecks a box without running its behaviour.
void setQuietly(QCheckBox* box, bool on)
{
    const QSignalBlocker block(box);
    box->setChecked(on);
}

} // namespace

void TOpen::buildMapTools()
{
    ken_ = new TKen(this);
    ken_->setDataDate(store.dataDate);
    paint_ = new TMapPaint(this);
    rangeTimer_ = new QTimer(this);
    rangeTimer_->setSingleShot(true);
    rangeTimer_->setInterval(1000);
    connect(rangeTimer_, &QTimer::timeout, this, &TOpen::rangeTimerFired);

    MapImage->installEventFilter(this);
    MapImage->setMouseTracking(true);
    ScrollBox1->viewport()->installEventFilter(this);

    // Prefecture selection.
    connect(this, &TOpen::prefectureWindowRequested, this, [this] {
        ken_->setSelectionConfirmed(false);
        ken_->show();
        ken_->raise();
    });
    connect(ken_, &TKen::confirmed, this, &TOpen::confirmSelection);
    connect(ken_, &TKen::allAreasChosen, this, [this] { CBTownBorder->setChecked(false); });
    connect(ken_, &TKen::railShowToggled, CBRailLine, &QCheckBox::setChecked);

    // Navigation.
    connect(UpDown1, &TUpDown::clicked, this, [this](bool) {
        view.magCount = UpDown1->position();
        Label6->setText(QString::fromStdString(magnificationLabel(view.magCount, view.magStep)));
        redraw();
    });
    connect(UDHor, &TUpDown::clicked, this, [this](bool up) {
        moveView(view, up ? MoveDirection::Right : MoveDirection::Left);
        view.horizontalMove = UDHor->position();
        redraw();
    });
    connect(UDVer, &TUpDown::clicked, this, [this](bool up) {
        moveView(view, up ? MoveDirection::Up : MoveDirection::Down);
        view.verticalMove = UDVer->position();
        redraw();
    });
    connect(BtnCenter, &QPushButton::clicked, this, [this] {
        modes.centreSetting = true;
        BtnCenter->setEnabled(false);
    });
    connect(Button6, &QPushButton::clicked, this, &TOpen::standardRange);
    connect(Button12, &QPushButton::clicked, this, &TOpen::goBack);
    connect(TkBtn2, &TTkBtn::clicked, this, [this] {
        Label15->setText(kmText("%7.2f km", 0.0f));
        Label17->setText(QStringLiteral("辺長"));
        TkBtn2->setColor(QColor(0xFF, 0xFF, 0x00));
        TkBtn2->setTextColor(QColor(0x00, 0x00, 0x80));
        modes.rangeArmed = true;
        view.rangeDragging = false;
        view.rangeApplied = false;
        CBTimer->setChecked(false);
    });
    const std::pair<const char*, float> steps[] = {{"MMag10", 1.0f}, {"MMag05", 0.5f}, {"MMag02", 0.2f}, {"MMag01", 0.1f}};
    for (auto [name, step] : steps)
        connect(action(name), &QAction::triggered, this, [this, step = step] { setMagnificationStep(step); });
    const std::pair<const char*, float> moves[] = {{"MMove20", 2.0f}, {"MMove10", 1.0f}, {"MMove05", 0.5f}};
    for (auto [name, factor] : moves)
        connect(action(name), &QAction::triggered, this, [this, factor = factor] { view.moveFactor = factor; });
    for (int k = 1; k <= 5; ++k)
        connect(action(QStringLiteral("MReduce%1").arg(k).toLatin1().constData()), &QAction::triggered, this,
                [this, k] { setReduction(k); });
    const std::pair<QRadioButton*, int> sizes[] = {{RBSize600, 1}, {RBSize1200, 2}, {RBSize1800, 3}};
    for (auto [radio, factor] : sizes)
        connect(radio, &QRadioButton::toggled, this, [this, factor = factor](bool on) {
            if (on)
                setSizeFactor(factor);
        });
    connect(action("MWgs"), &QAction::toggled, this, [this](bool on) {
        view.wgs = on;
        Label6->setToolTip(on ? QStringLiteral("世界測地系") : QStringLiteral("旧日本測地系"));
        ken_->Label6->setText(on ? QStringLiteral("世界測地系") : QStringLiteral("旧日本測地系"));
    });

    // Painting.
    connect(BtnPaint, &QPushButton::clicked, this, &TOpen::startPaint);
    connect(action("N4"), &QAction::triggered, this, &TOpen::startPaint);
    connect(paint_, &TMapPaint::startRequested, this, &TOpen::startPaint);
    connect(paint_, &TMapPaint::resumeRequested, this, &TOpen::resumePaint);
    connect(paint_, &TMapPaint::endRequested, this, &TOpen::endPaint);
    connect(paint_, &TMapPaint::undoRequested, this, &TOpen::undoPaint);
    connect(paint_, &TMapPaint::slotSelected, this, [this](int) { paintActive = true; });
    connect(paint_, &TMapPaint::showToggled, this, [this](bool on) {
        tools.paintShow = on;
        redraw();
    });
    // While painting the redraw does not replay; the fills made so far come back here.
    auto redrawWhilePainting = [this] {
        redraw();
        if (paintActive) {
            replayPaint(canvas, paintView(), paintRecords);
            showMapImage();
        }
    };
    connect(paint_, &TMapPaint::whiteBackgroundToggled, this, [this, redrawWhilePainting](bool on) {
        display.CheckBox13 = on;
        redrawWhilePainting();
    });
    connect(paint_, &TMapPaint::kuPaintToggled, this, [this, redrawWhilePainting](bool on) {
        display.CBKu = true;
        display.CBKuDot = !on;
        redrawWhilePainting();
    });
    connect(paint_, &TMapPaint::oldTownPaintToggled, this, [this, redrawWhilePainting](bool on) {
        display.CBNTownDot = false;
        setQuietly(CBNTownBorder, on);
        redrawWhilePainting();
    });
    connect(paint_, &TMapPaint::namesOverPaintToggled, this, [this, redrawWhilePainting](bool on) {
        tools.namesOverPaint = on;
        setQuietly(CBTownName, on);
        redrawWhilePainting();
    });
    installNameAndDecorationLayers(hooks, nameOptions, decorations);
    hooks.paintReplay = [this](RenderContext& ctx) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        replayPaint(ctx.canvas, paintView(), paintRecords);
        QApplication::restoreOverrideCursor();
    };

    // Display settings.
    settei_ = new TSettei(display, switches, view, this);
    connect(Button7, &QPushButton::clicked, this, &TOpen::showSettingsWindow);
    connect(action("N3"), &QAction::triggered, this, &TOpen::showSettingsWindow);
    connect(settei_, &TSettei::redrawRequested, this, &TOpen::redraw);
    connect(settei_, &TSettei::switchesApplied, this, [this](int reductionIndex) {
        // The settings window wrote the main-window switches; the controls follow quietly
        // (drawing is off, one redraw comes after).
        {
            const QSignalBlocker block(action("ken_name"));
            action("ken_name")->setChecked(switches.ken_name);
        }
        const std::pair<QCheckBox*, bool> boxes[] = {
            {CBPrefBorder, switches.CBPrefBorder}, {CBTownBorder, switches.CBTownBorder},
            {CBNTownBorder, switches.CBNTownBorder}, {CBOldTown, switches.CBOldTown},
            {CBTownName, switches.CBTownName},     {CBLonLat, switches.CBLonLat},
            {CBFun, switches.CBFun},               {CBDo, switches.CBDo},
            {CBScale, switches.CBScale},           {CBMainDoubleName, switches.CBMainDoubleName}};
        for (auto [box, on] : boxes)
            setQuietly(box, on);
        action(QStringLiteral("MReduce%1").arg(reductionIndex + 1).toLatin1().constData())->setChecked(true);
        {
            const QSignalBlocker block(action("MHokkaido"));
            action("MHokkaido")->setChecked(switches.hokkaidoBorders);
        }
        Label35->hide();
    });
    connect(settei_, &TSettei::reselectRequested, this, [this] { ken_->confirm(); });
    connect(settei_, &TSettei::kenNameMenuChanged, action("ken_name"), &QAction::setChecked);
    connect(settei_, &TSettei::oneDegreeStepChanged, CB1do, &QCheckBox::setChecked);
    connect(settei_, &TSettei::lakeChanged, CBLake, &QCheckBox::setChecked);
    connect(settei_, &TSettei::yomiChanged, CBYomi, &QCheckBox::setChecked);
    connect(settei_, &TSettei::doubleNameChanged, CBMainDoubleName, &QCheckBox::setChecked);
    connect(settei_, &TSettei::hokkaidoChanged, action("MHokkaido"), &QAction::setChecked);
    connect(settei_, &TSettei::magnificationStepChosen, this,
            [this](int index) { setMagnificationStep(kMagnificationSteps[static_cast<size_t>(index)]); });
    connect(settei_, &TSettei::moveFactorChosen, this, [this](int index) {
        const char* names[] = {"MMove20", "MMove10", "MMove05"};
        view.moveFactor = kMoveFactors[static_cast<size_t>(index)];
        action(names[index])->setChecked(true);
    });
    connect(settei_, &TSettei::imageSizeChosen, this, [this](int index) {
        QRadioButton* radios[] = {RBSize600, RBSize1200, RBSize1800};
        radios[index]->setChecked(true);
    });
    connect(settei_, &TSettei::reductionChosen, this, [this](int divisor) { setReduction(divisor); });

    // Municipality search.
    dataCheck_ = new TDataCheck(this);
    connect(Button9, &QPushButton::clicked, this, &TOpen::runSearch);

    // Image export.
    connect(Button4, &QPushButton::clicked, this, [this] { saveImage(RBJpeg->isChecked() ? 1 : RBBmp->isChecked() ? 2 : 0); });
    connect(Button3, &QPushButton::clicked, this, &TOpen::copyImage);
    connect(action("MSavePng"), &QAction::triggered, this, [this] { saveImage(0); });
    connect(action("MSaveJpeg"), &QAction::triggered, this, [this] { saveImage(1); });
    connect(action("MSaveBmp"), &QAction::triggered, this, [this] { saveImage(2); });

    // The designated-city and duplicate-name lists, read once.
    readDesignatedCityList(store, dialogs());
    readDuplicateNameList(store, dialogs());
}

void TOpen::applyConfig()
{
    ReadConfig(programPath("\\mapdata\\config.ini"), config, &dialogs());
    {
        const QSignalBlocker block(action("MSaveSettings"));
        action("MSaveSettings")->setChecked(config.SaveSettingsAtExit);
    }
    display.CBColor = config.SameColor;
    display.TownPaintColor = config.TownPaintColor;
    townPaintColor = config.TownPaintColor;
    display.TownFontColor = config.TownFontColor;
    display.IslandsColor = config.IslandsColor;
    display.MountainColor = config.MountainColor;
    display.KanaFontColor = config.KanaFontColor;
    display.CoastColor = config.CoastColor;
    display.PrefColor = config.PrefColor;
    display.TownColor = config.TownColor;
    display.NTownColor = config.NTownColor;
    display.BackColor = config.BackColor;
    display.SavedBackColor = config.BackColor;
    display.WakuColor = config.WakuColor;
    display.KuColor = config.KuColor;
    display.DoColor = config.DoColor;
    display.FunColor = config.FunColor;
    showTownPaintColor();
}

ConfigValues TOpen::currentConfig() const
{
    ConfigValues c = config;
    c.SaveSettingsAtExit = action("MSaveSettings")->isChecked();
    c.SameColor = display.CBColor;
    c.TownPaintColor = townPaintColor;
    c.TownFontColor = display.TownFontColor;
    c.IslandsColor = display.IslandsColor;
    c.MountainColor = display.MountainColor;
    c.KanaFontColor = display.KanaFontColor;
    c.CoastColor = display.CoastColor;
    c.PrefColor = display.PrefColor;
    c.TownColor = display.TownColor;
    c.NTownColor = display.NTownColor;
    c.BackColor = display.CheckBox13 ? display.SavedBackColor : display.BackColor;
    c.WakuColor = display.WakuColor;
    c.KuColor = display.KuColor;
    c.DoColor = display.DoColor;
    c.FunColor = display.FunColor;
    return c;
}

namespace {
ExportHooks exportHooks(TOpen* w)
{
    ExportHooks h;
    h.setFormat = [w](ImageFormat f) {
        QRadioButton* radios[] = {w->RBPng, w->RBJpeg, w->RBBmp};
        radios[static_cast<int>(f)]->setChecked(true);
    };
    h.askFileName = [w](ImageFormat, const QString& filter) -> std::optional<QString> {
        const QString name = QFileDialog::getSaveFileName(w, QStringLiteral("地図画像の保存"), QString(), filter);
        if (name.isEmpty())
            return std::nullopt;
        return name;
    };
    h.showWait = [w](const QString& text) {
        w->processWindow()->setText(text);
        w->processWindow()->show();
        QApplication::processEvents();
    };
    h.hideWait = [w] { w->processWindow()->hide(); };
    h.currentPicture = [w] { return w->canvas.image(); };
    h.drawPicture = [w](int side, const std::function<void(int, int)>& progress) {
        // The picture at its full size: the view drawn once more at that side.
        ViewState v = w->view;
        const int factor = std::max(1, side * v.reductionDivisor / 600);
        v.sizeFactor = std::clamp(factor, 1, 3);
        Canvas big(side, side, w->display.BackColor);
        MapStore& store = w->store;
        const Extent saved = store.extent;
        MainSwitches sw = w->switches;
        ToolSwitches tools = w->tools;
        RenderState rs;
        CollectingSink sink;
        RenderContext ctx{big, store, v, w->display, sw, tools, sink};
        if (progress)
            progress(0, 1);
        DrawMap(ctx, rs, w->hooks);
        if (progress)
            progress(1, 1);
        store.extent = saved;
        return big.image();
    };
    h.showMapImage = [w](bool visible) { w->MapImage->setVisible(visible); };
    h.uncheckCentre = [w] { w->CBCenterMark->setChecked(false); };
    h.redrawWithoutRubberBand = [w] {
        w->redraw();
        return w->canvas.image();
    };
    return h;
}
} // namespace

void TOpen::saveImage(int format)
{
    if (!mapShown)
        return;
    const ExportSettings settings{RBSize1800->isChecked() ? 2 : RBSize1200->isChecked() ? 1 : 0, view.reductionDivisor};
    SaveMapImage(static_cast<ImageFormat>(format), settings, exportHooks(this), dialogs());
    redraw();
}

void TOpen::copyImage()
{
    if (!mapShown)
        return;
    const ExportSettings settings{RBSize1800->isChecked() ? 2 : RBSize1200->isChecked() ? 1 : 0, view.reductionDivisor};
    CopyMapImage(settings, exportHooks(this), clipboardUsed);
    redraw();
}

void TOpen::showSettingsWindow()
{
    settei_->setMapShown(mapShown);
    settei_->refreshFromMainSwitches();
    settei_->show();
    settei_->raise();
}

void TOpen::runSearch()
{
    EdName->setText(ComboBox1->currentText());
    QString edName = EdName->text();
    const SearchSwitches sw{CBTownPaint->isChecked(), CBMenseki->isChecked()};
    const std::optional<SearchChoice> choice = chooseSearchPlace(this, search, *dataCheck_, &edName, store, sw);
    EdName->setText(edName);
    if (!choice)
        return; // the message has been shown; map, selection and drawing stay as they were
    const bool was = drawingEnabled;
    drawingEnabled = false;
    const SearchShow s = search.show(choice->result, choice->chosen, ComboBox1->currentText().toStdString(), store,
                                     view, LoadOptions{hokkaidoSubprefBorders(), preMergerBorders()}, sw, dialogs());
    if (!s.ok) {
        drawingEnabled = was;
        return;
    }
    modes.rangeArmed = false;
    afterViewSetUp();
    UpDown1->setPosition(s.magCount);
    Label6->setText(QString::fromStdString(s.magnificationLabel));
    const char* names[] = {"MMag10", "MMag05", "MMag02", "MMag01"};
    for (size_t i = 0; i < kMagnificationSteps.size(); ++i)
        if (kMagnificationSteps[i] == s.magStep)
            action(names[i])->setChecked(true);
    setQuietly(CBNTownBorder, s.CBNTownBorder);
    setQuietly(CBTownName, s.CBTownName);
    setQuietly(CBCenterMark, s.CBCenter);
    if (s.CBOldTown)
        setQuietly(CBOldTown, *s.CBOldTown);
    CBOldTown->setEnabled(true);
    setQuietly(CBExp, s.CBExp);
    display.CheckBox13 = s.CheckBox13;
    display.CBCityName = s.CBCityName;
    display.CBKuName = s.CBKuName;
    display.CBKu = s.CBKu;
    display.CBKuDot = s.CBKuDot;
    Label31->setText(QString::fromStdString(s.label31Text));
    Label15->setText(QString::fromStdString(s.label15Text));
    Label17->setText(QString::fromStdString(s.label17Text));
    tools.searchName = s.searchName;
    paintRecords.clear();
    paint_->setPaintCount(0);
    paint_->hide();
    Label19->clear();
    TkBtn1->hide();
    mapShown = true;
    drawingEnabled = true;
    redraw();
    settei_->refreshFromDisplayState();
}

PaintView TOpen::paintView()
{
    PaintView pv;
    pv.mapToPixel = [this](int32_t x, int32_t y, int& px, int& py) {
        const QPoint p = MapToPixel(view, x, y);
        px = p.x();
        py = p.y();
    };
    pv.pixelToMap = [this](int px, int py, int32_t& x, int32_t& y) {
        // Records are replayed through MapToPixel: keep the data point under the pixel.
        const QPoint p = PixelToDataUnits(view, px, py);
        x = p.x();
        y = p.y();
    };
    pv.fillTarget = [this](int px, int py) { return FillTarget(canvas, display, px, py); };
    return pv;
}

// ----------------------------------------------------------------------------- drawing

void TOpen::syncSwitches()
{
    switches.drawingEnabled = drawingEnabled;
    switches.CBPrefBorder = CBPrefBorder->isChecked();
    switches.CBTownBorder = CBTownBorder->isChecked();
    switches.CBNTownBorder = CBNTownBorder->isChecked();
    switches.CBOldTown = CBOldTown->isChecked();
    switches.CBKenName1 = CBKenName1->isChecked();
    switches.CBTownName = CBTownName->isChecked();
    switches.CBYomi = CBYomi->isChecked();
    switches.CBLabel = CBLabel->isChecked();
    switches.CBMainDoubleName = CBMainDoubleName->isChecked();
    switches.CBScale = CBScale->isChecked();
    switches.CBLake = CBLake->isChecked();
    switches.CBLonLat = CBLonLat->isChecked();
    switches.CBFun = CBFun->isChecked();
    switches.CBDo = CBDo->isChecked();
    switches.CB1do = CB1do->isChecked();
    switches.CBExp = CBExp->isChecked();
    switches.CBCenter = CBCenterMark->isChecked();
    switches.CBTownPaint = CBTownPaint->isChecked();
    switches.CBMenseki = CBMenseki->isChecked();
    switches.kokudo = action("MApproval")->isChecked();
    switches.ken_name = action("ken_name")->isChecked();
    switches.pleaseWait = action("MWait")->isChecked();
    switches.gridUnder = action("MGridUnder")->isChecked();
    switches.hokkaidoBorders = hokkaidoSubprefBorders();
    view.wgs = wgs();
    tools.paintingActive = paintActive;
}

void TOpen::redraw()
{
    if (!drawingEnabled || viewRestore || drawing_)
        return;
    drawing_ = true;
    syncSwitches();
    RenderContext ctx{canvas, store, view, display, switches, tools, dialogs()};
    const DrawResult r = DrawMap(ctx, renderState, hooks);
    applyDrawResult(r);
    drawing_ = false;
    showMapImage();
}

void TOpen::applyDrawResult(const DrawResult& r)
{
    if (r.view.refused) {
        Label15->setText(QString::fromUtf8(kRangeRefusedText));
        rangeTimer_->start();
        return;
    }
    if (!r.drawn)
        return;
    if (r.view.magnificationLabel) {
        Label6->setText(QString::fromStdString(*r.view.magnificationLabel));
        UpDown1->setPosition(view.magCount);
    }
    LblSide->setText(QString::fromStdString(r.view.report.sideText()));
    if (r.townNameUnchecked)
        setQuietly(CBTownName, false);
    afterDrawing();
    setControlEnabled(CBLake, r.lakeEnabled);
    // Every drawing enables the tool buttons; while painting the view stays locked, or a
    // range or a settings change could move the map under the paint.
    if (paintActive)
        setToolLock(true);
}

// ----------------------------------------------------------------------------- selection

void TOpen::confirmSelection(const std::vector<int>& areas, bool oldBorders, bool pleaseWait)
{
    drawingEnabled = false;
    setQuietly(CBTownName, false);
    if (pleaseWait) {
        process_->setText(QStringLiteral("地図を描く準備をしています"));
        process_->show();
        QApplication::processEvents();
    }
    viewRestore = false;
    view.imageSide = setUpImageSide(view);
    canvas.resize(view.imageSide, view.imageSide, display.BackColor);
    const bool loaded = loadSelection(areas);
    process_->hide();
    if (!loaded) {
        // The message has been shown; the previous map and its state stay.
        drawingEnabled = mapShown;
        redraw();
        return;
    }
    const ViewSetUp su = SetUpView(view, store, static_cast<int>(areas.size()));
    modes.rangeArmed = false;
    afterViewSetUp();
    Label6->setText(QString::fromStdString(su.magnificationLabel));
    UpDown1->setPosition(view.magCount);
    setQuietly(CBTownName, su.townNameChecked);
    CBMainDoubleName->setEnabled(su.doubleNameEnabled);
    setQuietly(CBMainDoubleName, su.doubleNameChecked);
    TkBtn2->setTextColor(QColor(0x80, 0x80, 0x80));

    display.CBKu = true;
    paintRecords.clear();
    paint_->setPaintCount(0);
    display.CBCityName = areas.size() == 1 && areas.front() == 10;
    display.CBKuName = true;
    setQuietly(CBTownPaint, false);
    setQuietly(CBNTownBorder, oldBorders);
    CBOldTown->setChecked(oldBorders);
    display.CBNTownDot = false;
    drawingEnabled = true;
    redraw();
    mapShown = true;
    Label19->clear();
    Label35->hide();
}

void TOpen::standardRange()
{
    UDHor->setPosition(500);
    UDVer->setPosition(500);
    UpDown1->setPosition(1);
    Label6->setText(QStringLiteral(" 1.0"));
    setQuietly(CBPrefBorder, true);
    setQuietly(CBTownBorder, true);
    action("MMag10")->setChecked(true);
    view.magCount = 1;
    view.magStep = 1.0f;
    view.horizontalMove = view.verticalMove = 500;
    viewRestore = false;
    if (!store.selectedAreas.empty()) {
        const bool was = drawingEnabled;
        drawingEnabled = false;
        if (!loadSelection(store.selectedAreas)) {
            drawingEnabled = was;
            return;
        }
        SetUpView(view, store, static_cast<int>(store.selectedAreas.size()));
        modes.rangeArmed = false;
        afterViewSetUp();
        drawingEnabled = was;
    }
    Button12->setEnabled(false);
    redraw();
    mapShown = true;
}

void TOpen::goBack()
{
    if (!backHistory.back(view, store))
        return;
    view.rangeApplied = false;
    UpDown1->setPosition(view.magCount);
    redraw();
    Button12->setEnabled(!backHistory.empty());
    Label6->setText(QString::fromStdString(magnificationLabel(view.magCount, view.magStep)));
}

void TOpen::setMagnificationStep(float step)
{
    changeMagnificationStep(view, step);
    UpDown1->setPosition(view.magCount);
    const char* names[] = {"MMag10", "MMag05", "MMag02", "MMag01"};
    const int index = step >= 1.0f ? 0 : step >= 0.5f ? 1 : step >= 0.2f ? 2 : 3;
    action(names[index])->setChecked(true);
    Label6->setText(QString::fromStdString(magnificationLabel(view.magCount, view.magStep)));
    redraw();
    setControlEnabled(UpDown1, true);
    Button12->setEnabled(false);
    mapShown = mapShown || drawingEnabled;
}

void TOpen::setReduction(int divisor)
{
    view.reductionDivisor = divisor;
    action(QStringLiteral("MReduce%1").arg(divisor).toLatin1().constData())->setChecked(true);
    const int a = 600 / divisor;
    RBSize600->setText(QString::number(a).rightJustified(4, QLatin1Char(' ')));
    RBSize1200->setText(QString::number(2 * a));
    RBSize1800->setText(QString::number(3 * a));
    redraw();
}

void TOpen::setSizeFactor(int factor)
{
    view.sizeFactor = factor;
    redraw();
}

void TOpen::rangeTimerFired()
{
    rangeTimer_->stop();
    if (view.rangeDragging) {
        view.rangeDragging = false;
        goBack();
    } else {
        standardRange();
    }
}

// ----------------------------------------------------------------------------- mouse

bool TOpen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MapImage) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            mapPress(e->position().toPoint().x(), e->position().toPoint().y(), e->button());
            return true;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            mapMove(e->position().toPoint().x(), e->position().toPoint().y());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton)
                mapRelease(e->position().toPoint().x(), e->position().toPoint().y());
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint p = e->position().toPoint();
            // The double-click arms the centre setting; its button-down then sets the centre.
            mapDoubleClick(p.x(), p.y());
            mapPress(p.x(), p.y(), e->button());
            return true;
        }
        default:
            break;
        }
    }
    if ((watched == MapImage || watched == ScrollBox1->viewport()) && event->type() == QEvent::Wheel) {
        auto* e = static_cast<QWheelEvent*>(event);
        if (!mapShown)
            return false;
        mapWheel(e->angleDelta().y(), e->modifiers());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TOpen::mapPress(int x, int y, Qt::MouseButton button)
{
    modes.rangeDragging = view.rangeDragging;
    modes.rangeApplied = view.rangeApplied;
    modes.painting = paintActive;
    modes.scaleBarShown = decorations.scaleBar.drawn && CBScale->isChecked();
    modes.scaleBarHitBox = scaleBarHitBox(decorations.scaleBar, view.imageSide);
    const PressAction a = dispatchPress(modes, mapShown, button == Qt::RightButton, x, y);
    switch (a) {
    case PressAction::DisplaySettings:
        showSettingsWindow();
        break;
    case PressAction::ScaleBarDragStart:
        modes.scaleBarDrag = true;
        break;
    case PressAction::RangeStart:
        view.rangeDragging = true;
        rangeOrigin_ = QPoint(x, y);
        rangeSide_ = 0;
        Label15->setText(kmText("%7.2f km", 0.0f));
        break;
    case PressAction::Paint: {
        if (button != Qt::LeftButton)
            break;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        nameOptions.paintWhiteBackground = paint_->CBWhite->isChecked();
        const bool painted = paintAt(canvas, paintView(), paintRecords, paint_->palette, paint_->selectedSlot, x, y,
                                     dialogs());
        QApplication::restoreOverrideCursor();
        if (painted) {
            paint_->setPaintCount(paintRecords.count());
            paint_->BtnUndo->setEnabled(true);
            showMapImage();
        }
        break;
    }
    case PressAction::CentreSet:
        if (crossDrawn_)
            drawCentreCross(lastMouse);
        crossDrawn_ = false;
        modes.centreSetting = false;
        BtnCenter->setEnabled(true);
        centreAt(view, x, y);
        lastMouse = QPoint(-100, -100);
        redraw();
        break;
    case PressAction::TwoPointStart: {
        if (button != Qt::LeftButton)
            break;
        for (QLabel* l : {Label15, Label31, Label33})
            setTextColor(l, "#ff0000");
        modes.twoPointDrag = true;
        dragStart_ = dragEnd_ = QPoint(x, y);
        const QPoint m = PixelToMap(view, x, y);
        startLon_ = longitudeOf(m.x());
        startLat_ = latitudeOf(m.y());
        Label17->setText(QStringLiteral("距離"));
        Label15->setText(kmText("%7.2f km", 0.0f));
        break;
    }
    default:
        break;
    }
}

void TOpen::drawRangeSquare(int s)
{
    canvas.setPen(kRubberBand, 1, PenStyle::Solid, PenMode::Xor);
    canvas.setBrush(kWhite, BrushStyle::Clear);
    canvas.rectangle(rangeOrigin_.x(), rangeOrigin_.y(), rangeOrigin_.x() + s, rangeOrigin_.y() + s);
    canvas.setPen(kBlack);
}

void TOpen::drawCentreCross(QPoint at)
{
    const CrossLines c = centreCross(at.x(), at.y());
    canvas.setPen(kRubberBand, 1, PenStyle::Solid, PenMode::Xor);
    canvas.moveTo(c.x1, c.y1);
    canvas.lineTo(c.x2, c.y2);
    canvas.moveTo(c.x3, c.y3);
    canvas.lineTo(c.x4, c.y4);
    canvas.setPen(kBlack);
}

void TOpen::readout(int x, int y)
{
    const QPoint m = PixelToMap(view, x, y);
    if (CBZahyo->isChecked()) {
        Label13->setText(QString::asprintf("Y座標%7d", m.y()));
        Label14->setText(QString::asprintf("X座標%7d", m.x()));
    } else {
        Label13->setText(QString::fromStdString(formatDms("緯度 ", latitudeOf(m.y()))));
        Label14->setText(QString::fromStdString(formatDms("経度 ", longitudeOf(m.x()))));
    }
}

void TOpen::mapMove(int x, int y)
{
    modes.rangeDragging = view.rangeDragging;
    modes.painting = paintActive;
    bool changed = false;
    switch (dispatchMove(modes, mapShown)) {
    case MoveAction::RangeRubber: {
        if (rangeSide_ > 0)
            drawRangeSquare(rangeSide_);
        const RangeSquare r = rangeSquare(view, rangeOrigin_.x(), rangeOrigin_.y(), x, y);
        rangeSide_ = std::max(r.side, 0);
        drawRangeSquare(rangeSide_);
        if (r.snapped()) {
            Label15->setText(kmText("%7.2f km", r.km));
            canvas.setBrush(kWhite, BrushStyle::Clear);
            canvas.setFont(8, 0x0000FF);
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.0f km  %d pix", static_cast<double>(r.km), rangeSide_);
            canvas.textOut(rangeOrigin_.x() + 5, rangeOrigin_.y() + rangeSide_ - 12, buf);
        }
        changed = true;
        break;
    }
    case MoveAction::ScaleBarRubber: {
        canvas.setPen(kRubberBand, 1, PenStyle::Solid, PenMode::Xor);
        canvas.setBrush(kWhite, BrushStyle::Clear);
        const int w = decorations.scaleBar.width, h = decorations.scaleBar.height;
        if (lastMouse.x() > -100)
            canvas.rectangle(lastMouse.x(), lastMouse.y(), lastMouse.x() + w, lastMouse.y() + h);
        canvas.rectangle(x, y, x + w, y + h);
        canvas.setPen(kBlack);
        changed = true;
        break;
    }
    case MoveAction::CentreCross:
        if (crossDrawn_)
            drawCentreCross(lastMouse);
        drawCentreCross(QPoint(x, y));
        crossDrawn_ = true;
        changed = true;
        break;
    case MoveAction::Default:
        if (modes.twoPointDrag) {
            canvas.setPen(kRubberBand, 1, PenStyle::Solid, PenMode::Xor);
            canvas.moveTo(dragStart_.x(), dragStart_.y());
            canvas.lineTo(dragEnd_.x(), dragEnd_.y());
            canvas.moveTo(dragStart_.x(), dragStart_.y());
            canvas.lineTo(x, y);
            canvas.setPen(kBlack);
            const QPoint m = PixelToMap(view, x, y);
            const float km = Distance(longitudeOf(m.x()), latitudeOf(m.y()), startLon_, startLat_);
            Label15->setText(kmText("%7.2f km", km));
            dragEnd_ = QPoint(x, y);
            changed = true;
        }
        readout(x, y);
        break;
    default:
        break;
    }
    lastMouse = QPoint(x, y);
    if (changed)
        showMapImage();
}

void TOpen::mapRelease(int x, int y)
{
    modes.rangeDragging = view.rangeDragging;
    switch (dispatchRelease(modes, mapShown)) {
    case ReleaseAction::RangeFinish: {
        const int s = rangeSide_;
        if (CBCopy->isChecked() && s > 0) {
            drawRangeSquare(s); // take the square away before copying
            putImageOnClipboard(rangeSquare(canvas.image(), rangeOrigin_.x(), rangeOrigin_.y(), s));
            clipboardUsed = true;
            drawRangeSquare(s);
        }
        backHistory.push(currentView(view, store));
        TkBtn2->setColor(palette().color(QPalette::Button));
        TkBtn2->setTextColor(QColor(0x80, 0x80, 0x80));
        modes.rangeArmed = false;
        if (!applyRange(view, store, rangeOrigin_.x(), rangeOrigin_.y(), s)) {
            Label15->setText(QString::fromUtf8(kRangeRefusedText));
            view.rangeDragging = true; // the timer goes back
            rangeTimer_->start();
            showMapImage();
            break;
        }
        redraw();
        view.rangeDragging = false;
        mapShown = true;
        UpDown1->setEnabled(false);
        Button12->setEnabled(true);
        Label17->setText(QStringLiteral("距離"));
        break;
    }
    case ReleaseAction::ScaleBarDrop:
        modes.scaleBarDrag = false;
        dropScaleBar(decorations.scaleBar, x, y, view.imageSide);
        redraw();
        break;
    case ReleaseAction::TwoPointFinish:
        canvas.setPen(kRubberBand, 1, PenStyle::Solid, PenMode::Xor);
        canvas.moveTo(dragStart_.x(), dragStart_.y());
        canvas.lineTo(dragEnd_.x(), dragEnd_.y());
        canvas.setPen(kBlack);
        modes.twoPointDrag = false;
        dragEnd_ = QPoint(-100, -100);
        showMapImage();
        break;
    default:
        break;
    }
}

void TOpen::mapDoubleClick(int, int)
{
    modes.painting = paintActive;
    if (dispatchDoubleClick(modes, mapShown) == DoubleClickAction::ArmCentre) {
        modes.centreSetting = true;
        BtnCenter->setEnabled(false);
    }
}

void TOpen::mapWheel(int delta, Qt::KeyboardModifiers modifiers)
{
    if (!mapShown || delta == 0 || paintActive)
        return;
    const bool down = delta < 0;
    if (modifiers & Qt::ShiftModifier) {
        moveView(view, down ? MoveDirection::Down : MoveDirection::Up);
    } else if (modifiers & Qt::ControlModifier) {
        moveView(view, down ? MoveDirection::Right : MoveDirection::Left);
    } else {
        if (view.rangeApplied)
            return;
        UpDown1->setPosition(UpDown1->position() + (down ? 1 : -1));
        view.magCount = UpDown1->position();
        Label6->setText(QString::fromStdString(magnificationLabel(view.magCount, view.magStep)));
    }
    redraw();
}

// ----------------------------------------------------------------------------- painting

void TOpen::setToolLock(bool locked)
{
    for (QWidget* w : std::initializer_list<QWidget*>{TkBtn2, Button5, Button6, Button7, Button9, Button12, Button13,
                                                      Button14, BtnCenter, BtnLetter, BtnPaint, BtnMark, BtnMulti,
                                                      BtnLine, CBPrefBorder, CBTownBorder, CBNTownBorder, CBTownName,
                                                      CBLabel, CBScale, CBLonLat, CBLake, RGImageSize, RGImageFormat,
                                                      Button3, Button4, UDHor, UDVer, UpDown1})
        setControlEnabled(w, !locked);
    TkBtn2->setTextColor(locked ? QColor(0x80, 0x80, 0x80) : QColor(0x00, 0x00, 0x80));
}

std::array<QCheckBox*, 15> TOpen::paintSavedSwitches() const
{
    // The display switches painting takes over, restored when it ends.
    return {CBPrefBorder, CBTownBorder, CBTownName, CBLabel, CBScale,
            CBLonLat,     CBFun,        CBDo,       CB1do,   CBNTownBorder,
            CBMainDoubleName, CBLake,   CBCenterMark, CBExp, CBTownPaint};
}

void TOpen::preparePainting()
{
    // Layers that would stop a fill go off while painting; their state comes back at the end.
    const std::array<QCheckBox*, 15> saved = paintSavedSwitches();
    if (!viewRestore)
        for (size_t i = 0; i < saved.size(); ++i)
            savedSwitches_[i] = saved[i]->isChecked();
    setToolLock(true);
    for (QCheckBox* b : {CBTownName, CBLonLat, CBLabel, CBScale})
        setQuietly(b, false);
    paint_->setSwatchesEnabled(true);
}

void TOpen::startPaint()
{
    if (paintRecords.count() > 0 &&
        !dialogs().ask(Message{"ペイント作業を新規に開始しますか？　　　　　", "ペイント作業の開始", MessageIcon::Question})) {
        paint_->BtnResume->setEnabled(true);
        return;
    }
    paintRecords.clear();
    paint_->deselectSlots();
    action("MGridUnder")->setChecked(false);
    tools.paintReplay = false;
    drawingEnabled = false;
    preparePainting();
    for (QPushButton* b : {paint_->BtnClose, paint_->BtnResume, paint_->BtnUndo, paint_->BtnNew})
        b->setEnabled(false);
    paint_->BtnEnd->setEnabled(true);
    display.CheckBox13 = true;
    action("ken_name")->setChecked(false);
    action("MApproval")->setChecked(false);
    drawingEnabled = true;
    paintActive = true;
    setQuietly(CBCenterMark, false);
    redraw();
    if (!paint_->isVisible()) {
        // Beside the main window where the screen has room, so it does not hide the map.
        paint_->adjustSize();
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        const QPoint right(frameGeometry().right() + 4, frameGeometry().top());
        if (screen.isValid() && right.x() + paint_->width() <= screen.right())
            paint_->move(right);
        else if (screen.isValid())
            paint_->move(frameGeometry().left(), std::min(frameGeometry().bottom() + 4, screen.bottom() - paint_->height()));
    }
    paint_->show();
    paint_->raise();
    paint_->setPaintCount(0);
    paint_->CBShow->setEnabled(false);
}

void TOpen::resumePaint()
{
    drawingEnabled = false;
    action("ken_name")->setChecked(false);
    action("MApproval")->setChecked(false);
    action("MGridUnder")->setChecked(false);
    {
        const QSignalBlocker block(paint_->CBShow);
        paint_->CBShow->setChecked(true);
    }
    tools.paintShow = true;
    paintActive = true;
    paint_->BtnEnd->setEnabled(true);
    preparePainting();
    paint_->deselectSlots();
    for (QPushButton* b : {paint_->BtnResume, paint_->BtnNew, paint_->BtnClose})
        b->setEnabled(false);
    paint_->CBShow->setEnabled(false);
    paint_->BtnUndo->setEnabled(paintRecords.count() > 0);
    display.CheckBox13 = paint_->CBWhite->isChecked() || display.CheckBox13;
    drawingEnabled = true;
    redraw();
    paint_->setPaintCount(paintRecords.count());
}

void TOpen::endPaint()
{
    drawingEnabled = false;
    paint_->deselectSlots();
    paintActive = false;
    setToolLock(false);
    paint_->BtnClose->setEnabled(true);
    paint_->setSwatchesEnabled(false);
    paint_->BtnEnd->setEnabled(false);
    paint_->BtnResume->setEnabled(true);
    paint_->BtnNew->setEnabled(true);
    paint_->BtnUndo->setEnabled(false);
    paint_->CBShow->setEnabled(true);
    tools.paintReplay = true;
    action("ken_name")->setChecked(true);
    action("MApproval")->setChecked(true);
    {
        const QSignalBlocker block(paint_->CBTownName);
        paint_->CBTownName->setChecked(false);
    }
    tools.namesOverPaint = false;
    display.CheckBox13 = paint_->CBWhite->isChecked();
    if (!viewRestore) {
        const std::array<QCheckBox*, 15> saved = paintSavedSwitches();
        for (size_t i = 0; i < saved.size(); ++i)
            setQuietly(saved[i], savedSwitches_[i]);
    }
    drawingEnabled = true;
    redraw();
}

void TOpen::undoPaint()
{
    if (paintRecords.count() == 0)
        return;
    paintRecords.removeLast();
    redraw();
    replayPaint(canvas, paintView(), paintRecords);
    showMapImage();
    paint_->setPaintCount(paintRecords.count());
    paint_->BtnUndo->setEnabled(paintRecords.count() > 0);
}

} // namespace oboro
