// The main window's map: selection, drawing, navigation, the map's mouse handlers and
// painting. The window-free pieces (loader, projection, DrawMap, navigation, paint) do
// the work; this file binds them to the controls.
#include "app/gui/shellwindows.h"

#include "common/gui/controls.h"
#include "app/gui/tkbtn.h"
#include "app/gui/topen.h"
#include "names/gui/tyomi.h"
#include "app/gui/tprintsave.h"
#include "app/exitsequence.h"
#include "app/gui/updown.h"
#include "mapdata/namelists.h"
#include "view/imageexport.h"
#include "app/gui/cursors.h"
#include "common/dms.h"
#include "labels/gui/tinlabel.h"
#include "labels/gui/tletter.h"
#include "measure/gui/tkyori.h"
#include "lines/gui/tlineadd.h"
#include "measure/readout.h"
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
#include <QDesktopServices>
#include <QLineEdit>
#include <QClipboard>
#include <QColorDialog>
#include <QMenu>
#include <QFileDialog>
#include <QProgressDialog>
#include <QGroupBox>
#include <QLabel>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>

#include <cstdio>

namespace oboro {

namespace {

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

} // namespace

// Saves through the desktop's dialog: the filter of the format, its extension added by
// the dialog itself, so an existing file is asked about before it is replaced.
QString qtFileFilter(const QString& pairs)
{
    // "PNGファイル (*.png)|*.png" → "PNGファイル (*.png)": the descriptions of each pair.
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i < parts.size(); i += 2)
        out << parts[i];
    return out.join(QStringLiteral(";;"));
}

namespace {

QString suffixOf(ImageFormat f)
{
    switch (f) {
    case ImageFormat::Jpeg: return QStringLiteral("jpg");
    case ImageFormat::Bmp: return QStringLiteral("bmp");
    default: return QStringLiteral("png");
    }
}

} // namespace

void TOpen::buildMapTools()
{
    ken_ = new TKen(this);
    ken_->setDataDate(store.dataDate);
    paint_ = new TMapPaint(&session.palette, &session.selectedSlot, this);
    rangeTimer_ = new QTimer(this);
    rangeTimer_->setSingleShot(true);
    rangeTimer_->setInterval(1000);
    connect(rangeTimer_, &QTimer::timeout, &session, &MapSession::rangeTimerFired);
    connect(&session, &MapSession::rangeRefusedSignal, this, [this] {
        Label15->setText(QString::fromUtf8(kRangeRefusedText));
        rangeTimer_->start();
    });

    // Measuring: the path's sampling timer, the tools' buttons and the figures.
    mouseTools_ = std::make_unique<MouseTools>(session, static_cast<ToolHost&>(*this));
    pathTimer_ = new QTimer(this);
    pathTimer_->setInterval(kSamplingIntervalMs);
    connect(pathTimer_, &QTimer::timeout, this, [this] { pathChanged(session.pathTick()); });
    connect(&session, &MapSession::panelUpdated, this, &TOpen::applyPanel);
    connect(BtnMulti, &QPushButton::clicked, &session, &MapSession::startPath);
    connect(Button14, &QPushButton::clicked, &session, &MapSession::regionAreaButton);
    connect(CBTimer, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session.setPathAutomatic(on);
    });
    connect(CBNokori, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session.landArea = on;
    });
    connect(CBChiri, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing_)
            session.armWebMap(on);
    });
    openAddress = [](const std::string& address) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
    };

    // Distance circles: the window works on the session's circle sets.
    kyori_ = new TKyori(session.circles, dialogs(), [this](const Message& m) { return dialogs().ask(m); }, this);
    connect(kyori_, &TKyori::outcome, &session, &MapSession::applyCircleOutcome);
    connect(Button13, &QPushButton::clicked, kyori_, &TKyori::openFromMainWindow);
    buildSymbolTools();
    connect(action("MKyori"), &QAction::triggered, kyori_, &TKyori::openForPicking);
    action("MKyori")->setEnabled(false); // until a map is shown

    // Map lines: the window works on the session's edited line and displayed files.
    lineAdd_ = new TLineAdd(session, dialogs(), this);
    connect(BtnLine, &QPushButton::clicked, lineAdd_, &TLineAdd::open);
    connect(action("N16"), &QAction::triggered, lineAdd_, &TLineAdd::open);
    buildLabelTools();

    MapImage->installEventFilter(this);
    MapImage->setMouseTracking(true);
    ScrollBox1->viewport()->installEventFilter(this);

    // The please-wait window while many areas are drawn.
    hooks.showPleaseWait = [this](const std::string& text) {
        process_->setText(QString::fromStdString(text));
        process_->show();
        QApplication::processEvents();
    };
    hooks.hidePleaseWait = [this] { process_->hide(); };

    // Prefecture selection.
    connect(this, &TOpen::prefectureWindowRequested, this, [this] {
        ken_->setSelectionConfirmed(false);
        ken_->show();
        ken_->raise();
    });
    connect(ken_, &TKen::confirmed, this, &TOpen::confirmSelection);
    connect(ken_, &TKen::allAreasChosen, this, [this] { session.setSwitch(Switch::TownBorders, false); });

    // Navigation.
    connect(UpDown1, &TUpDown::clicked, this, [this](bool) { session.setMagnification(UpDown1->position()); });
    connect(UDHor, &TUpDown::clicked, this,
            [this](bool up) { session.move(up ? MoveDirection::Right : MoveDirection::Left); });
    connect(UDVer, &TUpDown::clicked, this, [this](bool up) { session.move(up ? MoveDirection::Up : MoveDirection::Down); });
    connect(BtnCenter, &QPushButton::clicked, &session, &MapSession::armCentre);
    connect(Button6, &QPushButton::clicked, this, &TOpen::standardRange);
    connect(Button12, &QPushButton::clicked, this, &TOpen::goBack);
    connect(TkBtn2, &TTkBtn::clicked, this, [this] {
        rangeTimer_->stop();
        Label15->setText(kmText("%7.2f km", 0.0f));
        Label17->setText(QStringLiteral("辺長"));
        session.armRange();
    });
    const std::pair<const char*, float> steps[] = {{"MMag10", 1.0f}, {"MMag05", 0.5f}, {"MMag02", 0.2f}, {"MMag01", 0.1f}};
    for (auto [name, step] : steps)
        connect(action(name), &QAction::triggered, this, [this, step = step] { setMagnificationStep(step); });
    const std::pair<const char*, float> moves[] = {{"MMove20", 2.0f}, {"MMove10", 1.0f}, {"MMove05", 0.5f}};
    for (auto [name, factor] : moves)
        connect(action(name), &QAction::triggered, this, [this, factor = factor] { session.setMoveFactor(factor); });
    for (int k = 1; k <= 5; ++k)
        connect(action(QStringLiteral("MReduce%1").arg(k).toLatin1().constData()), &QAction::triggered, this,
                [this, k] { setReduction(k); });
    const std::pair<QRadioButton*, int> sizes[] = {{RBSize600, 1}, {RBSize1200, 2}, {RBSize1800, 3}};
    for (auto [radio, factor] : sizes)
        connect(radio, &QRadioButton::toggled, this, [this, factor = factor](bool on) {
            if (on && !refreshing_)
                setSizeFactor(factor);
        });
    connect(action("MWgs"), &QAction::toggled, this, [this](bool on) {
        if (!refreshing_)
            session.setWgs(on);
    });

    // Painting.
    connect(BtnPaint, &QPushButton::clicked, this, &TOpen::startPaint);
    connect(action("N4"), &QAction::triggered, this, &TOpen::startPaint);
    connect(paint_, &TMapPaint::startRequested, this, &TOpen::startPaint);
    connect(paint_, &TMapPaint::resumeRequested, this, &TOpen::resumePaint);
    connect(paint_, &TMapPaint::endRequested, this, &TOpen::endPaint);
    connect(paint_, &TMapPaint::undoRequested, this, &TOpen::undoPaint);
    wirePaintFiles();
    // Closing the paint window in any way ends the painting, so the view is never left locked.
    connect(paint_, &TMapPaint::hiddenByUser, this, [this] {
        if (session.paintActive)
            endPaint();
    });
    const std::pair<QCheckBox*, bool PaintOptions::*> options[] = {
        {paint_->CBShow, &PaintOptions::show},
        {paint_->CBWhite, &PaintOptions::whiteBackground},
        {paint_->CBKuPaint, &PaintOptions::wardPaint},
        {paint_->CBOldPaint, &PaintOptions::preMergerPaint},
        {paint_->CBTownName, &PaintOptions::namesOverPaint}};
    for (auto [box, option] : options)
        connect(box, &QCheckBox::toggled, this, [this, option = option](bool on) {
            if (!refreshing_)
                session.setPaintOption(option, on);
        });

    // Display settings.
    settei_ = new TSettei(display, switches, view, this);
    connect(Button7, &QPushButton::clicked, this, &TOpen::showSettingsWindow);
    connect(action("N3"), &QAction::triggered, this, &TOpen::showSettingsWindow);
    connect(settei_, &TSettei::redrawRequested, this, [this] {
        if (refreshing_)
            return;
        redraw();
        refreshControls();
    });
    // 決　定 has written the switches and the view's reduction: the controls follow.
    connect(settei_, &TSettei::switchesApplied, this, [this](int) {
        Label35->hide();
        refreshControls();
    });
    connect(settei_, &TSettei::distanceCirclesRequested, this, [this] {
        if (session.mapShown)
            kyori_->openForPicking();
    });
    connect(settei_, &TSettei::reselectRequested, this, [this] {
        if (!refreshing_)
            ken_->confirm();
    });
    const std::pair<void (TSettei::*)(bool), Switch> mirrored[] = {
        {&TSettei::kenNameMenuChanged, Switch::PrefNameCorner}, {&TSettei::oneDegreeStepChanged, Switch::EveryOtherDegree},
        {&TSettei::lakeChanged, Switch::LakeBorders},          {&TSettei::yomiChanged, Switch::Readings},
        {&TSettei::doubleNameChanged, Switch::DuplicateNames}, {&TSettei::hokkaidoChanged, Switch::HokkaidoBorders}};
    for (auto [signal, sw] : mirrored)
        connect(settei_, signal, this, [this, sw = sw](bool on) {
            if (refreshing_)
                return;
            // The settings window has written the switch already; the chain and drawing follow.
            session.setSwitch(sw, on, true);
        });
    connect(settei_, &TSettei::magnificationStepChosen, this, [this](int index) {
        if (!refreshing_)
            setMagnificationStep(kMagnificationSteps[static_cast<size_t>(index)]);
    });
    connect(settei_, &TSettei::moveFactorChosen, this, [this](int index) {
        if (!refreshing_)
            session.setMoveFactor(kMoveFactors[static_cast<size_t>(index)]);
    });
    connect(settei_, &TSettei::imageSizeChosen, this, [this](int index) {
        if (!refreshing_)
            setSizeFactor(index + 1);
    });
    connect(settei_, &TSettei::reductionChosen, this, [this](int divisor) {
        if (!refreshing_)
            setReduction(divisor);
    });

    // Municipality search.
    dataCheck_ = new TDataCheck(this);
    connect(Button9, &QPushButton::clicked, this, &TOpen::runSearch);

    // The search history: the box's right-click menu and the main menu edit the
    // session's list; refreshControls shows it in the drop-down.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert); // the list is the session's history alone
    auto* historyMenu = new QMenu(this);
    historyMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* deleteOne = historyMenu->addAction(QStringLiteral("この市区町村名を削除する"));
    deleteOne->setObjectName(QStringLiteral("N7"));
    QAction* deleteAll = historyMenu->addAction(QStringLiteral("すべての市区町村名を削除する"));
    deleteAll->setObjectName(QStringLiteral("N8"));
    for (QWidget* box : {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(ComboBox1->lineEdit())}) {
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, box, historyMenu](const QPoint& p) { historyMenu->exec(box->mapToGlobal(p)); });
    }
    connect(deleteOne, &QAction::triggered, this, [this] {
        // The selected entry is the one the box shows.
        const int i = ComboBox1->findText(ComboBox1->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i < 0 || !dialogs().ask(deleteHistoryEntryQuestion(ComboBox1->itemText(i).toStdString())))
            return;
        session.history.remove(i, dialogs());
        refreshControls();
    });
    connect(deleteAll, &QAction::triggered, this, [this] {
        if (!dialogs().ask(deleteAllHistoryQuestion()))
            return;
        session.history.clear();
        refreshControls();
    });
    connect(action("MClearHistory"), &QAction::triggered, this, [this] {
        session.history.clear();
        refreshControls();
    });
    const std::pair<const char*, HistoryOrder> orders[] = {{"MTimeOrder", HistoryOrder::Time},
                                                           {"MKanjiOrder", HistoryOrder::Text}};
    for (auto [name, order] : orders)
        connect(action(name), &QAction::triggered, this, [this, order = order] {
            session.history.setOrder(order, dialogs());
            refreshControls();
        });
    connect(action("N6"), &QAction::triggered, this, [this] {
        const QColor c = QColorDialog::getColor(qcolorOf(display.TownPaintColor), this, QStringLiteral("市町村検索ペイント色"));
        if (!c.isValid())
            return;
        display.TownPaintColor = static_cast<Color>(c.red() | (c.green() << 8) | (c.blue() << 16));
        showTownPaintColor();
        redraw();
    });

    // Image export.
    connect(Button4, &QPushButton::clicked, this, [this] { saveImage(RBJpeg->isChecked() ? 1 : RBBmp->isChecked() ? 2 : 0); });
    connect(Button3, &QPushButton::clicked, this, &TOpen::copyImage);
    connect(action("MSavePng"), &QAction::triggered, this, [this] { saveImage(0); });
    connect(action("MSaveJpeg"), &QAction::triggered, this, [this] { saveImage(1); });
    connect(action("MSaveBmp"), &QAction::triggered, this, [this] { saveImage(2); });
    connect(action("MPrintSave"), &QAction::triggered, this, &TOpen::printSave);

    // The designated-city and duplicate-name lists, read once.
    readDesignatedCityList(store, dialogs());
    readDuplicateNameList(store, dialogs());
    session.history.load(programPath(kHistoryFileName), dialogs());
    buildReadingsWindows();
    refreshControls();
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
    session.history.restoreOrder(config.TimeOrder == 0 ? HistoryOrder::Text : HistoryOrder::Time);
    showTownPaintColor();
}

ConfigValues TOpen::currentConfig() const
{
    ConfigValues c = config;
    c.SaveSettingsAtExit = action("MSaveSettings")->isChecked();
    c.SameColor = display.CBColor;
    c.TownPaintColor = display.TownPaintColor;
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
    c.TimeOrder = session.history.order() == HistoryOrder::Time ? 1 : 0;
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
    h.askFileName = [w](ImageFormat f, const QString& filter) -> std::optional<QString> {
        QFileDialog dialog(w, QStringLiteral("地図画像の保存"), QString(), qtFileFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffixOf(f));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().front();
    };
    h.showWait = [w](const QString& text) {
        w->processWindow()->setText(text);
        w->processWindow()->show();
        QApplication::processEvents();
    };
    h.hideWait = [w] { w->processWindow()->hide(); };
    h.currentPicture = [w] { return w->canvas.image(); };
    // A fresh picture of the session at the chosen side, paint replayed on it.
    h.drawPicture = [w](int side, const std::function<void(int, int)>& progress) {
        if (progress)
            progress(0, 1);
        QImage picture = w->session.drawPicture(side);
        if (progress)
            progress(1, 1);
        return picture;
    };
    h.showMapImage = [w](bool visible) { w->MapImage->setVisible(visible); };
    h.uncheckCentre = [w] { w->session.setSwitch(Switch::CentreMark, false); };
    // The cached picture never carries the rubber band.
    h.redrawWithoutRubberBand = [w] { return w->canvas.image(); };
    return h;
}
} // namespace

void TOpen::saveImage(int format)
{
    if (!session.mapShown || session.paintActive)
        return;
    const ExportSettings settings{view.sizeFactor - 1, view.reductionDivisor};
    SaveMapImage(static_cast<ImageFormat>(format), settings, exportHooks(this), dialogs());
}

void TOpen::copyImage()
{
    if (!session.mapShown || session.paintActive)
        return;
    const ExportSettings settings{view.sizeFactor - 1, view.reductionDivisor};
    CopyMapImage(settings, exportHooks(this), clipboardUsed);
}

void TOpen::printSave()
{
    if (!session.mapShown || session.paintActive)
        return;
    TPrintSave choose(RBJpeg->isChecked() ? ImageFormat::Jpeg : RBBmp->isChecked() ? ImageFormat::Bmp : ImageFormat::Png,
                      this);
    if (choose.exec() != QDialog::Accepted)
        return;
    MapExport what = choose.choice();
    QFileDialog dialog(this, QStringLiteral("印刷用に保存"), QString(), qtFileFilter(imageSaveFilter(what.format)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffixOf(what.format));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    what.path = dialog.selectedFiles().front();
    exportForPrint(what);
}

ExportOutcome TOpen::exportForPrint(const MapExport& what)
{
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("PrintProgress"));
    progress.setWindowTitle(QStringLiteral("印刷用に保存"));
    progress.setCancelButtonText(QStringLiteral("中止"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const ExportOutcome outcome = session.exportPicture(what, [&progress](int step, int steps, const QString& text) {
        progress.setMaximum(steps);
        progress.setValue(step);
        progress.setLabelText(text);
        QApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    return outcome;
}

void TOpen::showSettingsWindow()
{
    if (session.paintActive)
        return;
    settei_->setMapShown(session.mapShown);
    refreshControls();
    settei_->refreshFromDisplayState();
    settei_->show();
    settei_->raise();
}

void TOpen::runSearch()
{
    if (session.paintActive)
        return;
    QString edName = ComboBox1->currentText();
    const SearchSwitches sw{switches.CBTownPaint, switches.CBMenseki};
    const std::optional<SearchChoice> choice = chooseSearchPlace(this, search, *dataCheck_, &edName, store, sw);
    if (!choice)
        return; // the message has been shown; map, selection and drawing stay as they were
    rangeTimer_->stop();
    // The figures start from 0; a measured search paint fills them while it draws.
    resetMeasurementLabels();
    Label17->setText(QStringLiteral("周長"));
    if (!session.showSearchResult(choice->result, choice->chosen, ComboBox1->currentText().toStdString()))
        return;
    paint_->hide();
    Label19->clear();
    TkBtn1->hide();
    settei_->refreshFromDisplayState();
    refreshControls();
}

// ----------------------------------------------------------------------------- drawing

void TOpen::redraw()
{
    session.redraw();
}

void TOpen::refreshControls()
{
    if (refreshing_ || !settei_ || !paint_)
        return;
    refreshing_ = true;
    const MapSession& s = session;
    const bool map = s.mapShown;
    const bool locked = s.paintActive;

    // Drawing switches: checked and usable as the session says.
    for (auto [box, sw] : switchBoxes()) {
        const QSignalBlocker block(box);
        box->setChecked(s.isOn(sw));
        setControlEnabled(box, s.switchUsable(sw));
    }
    const std::pair<const char*, bool> checks[] = {
        {"MApproval", switches.kokudo},   {"ken_name", switches.ken_name},
        {"MWait", switches.pleaseWait},   {"MGridUnder", switches.gridUnder},
        {"MHokkaido", switches.hokkaidoBorders}, {"MWgs", view.wgs},
        {"MMag10", view.magStep >= 1.0f}, {"MMag05", view.magStep == 0.5f},
        {"MMag02", view.magStep == 0.2f}, {"MMag01", view.magStep < 0.15f},
        {"MMove20", view.moveFactor == 2.0f}, {"MMove10", view.moveFactor == 1.0f},
        {"MMove05", view.moveFactor == 0.5f}};
    for (auto [name, on] : checks)
        if (QAction* a = action(name)) {
            const QSignalBlocker block(a);
            a->setChecked(on);
        }
    for (int k = 1; k <= 5; ++k) {
        QAction* a = action(QStringLiteral("MReduce%1").arg(k).toLatin1().constData());
        const QSignalBlocker block(a);
        a->setChecked(view.reductionDivisor == k);
        setControlEnabled(a, !locked);
    }
    for (const char* name : {"MMag10", "MMag05", "MMag02", "MMag01"})
        setControlEnabled(name, !locked);

    // The view controls.
    UpDown1->setPosition(view.magCount);
    UDHor->setPosition(view.horizontalMove);
    UDVer->setPosition(view.verticalMove);
    Label6->setText(QString::fromStdString(magnificationLabel(view.magCount, view.magStep)));
    const bool datumWgs = view.wgs;
    LblDatum->setText(datumWgs ? QStringLiteral("世界測地系") : QStringLiteral("旧日本測地系"));
    Label6->setToolTip(LblDatum->text());
    ken_->Label6->setText(LblDatum->text());
    const bool viewUsable = map && !locked;
    for (QWidget* w : std::initializer_list<QWidget*>{Button6, UDHor, UDVer, LblHor, LblVer, LblMag, Label6, TkBtn2,
                                                      CBCopy, Button7, BtnMulti, Button14, Button13, BtnLetter,
                                                      BtnMark, BtnLine, CBNokori, CBChiri, LblChiri})
        setControlEnabled(w, viewUsable);
    setControlEnabled(BtnCenter, viewUsable && s.tool != MapTool::Centre);
    setControlEnabled(UpDown1, viewUsable && !view.rangeApplied);
    setControlEnabled(Button12, viewUsable && !backHistory.empty());
    for (QWidget* w : std::initializer_list<QWidget*>{Button5, Button9, ComboBox1})
        setControlEnabled(w, !locked);
    setControlEnabled(BtnPaint, viewUsable);
    setControlEnabled("N4", viewUsable);
    setControlEnabled("N16", viewUsable);
    setControlEnabled("N3", viewUsable);
    setControlEnabled("N2", viewUsable);
    setControlEnabled("MKyori", viewUsable && !s.measuring());
    setControlEnabled("MSaveImage", viewUsable);
    setControlEnabled("MPrintSave", viewUsable);
    for (QWidget* w : std::initializer_list<QWidget*>{RGImageSize, RGImageFormat, Button3, Button4})
        setControlEnabled(w, viewUsable);
    const bool rangeArmed = s.tool == MapTool::Range;
    TkBtn2->setColor(rangeArmed ? QColor(0xFF, 0xFF, 0x00) : palette().color(QPalette::Button));
    TkBtn2->setTextColor(viewUsable ? QColor(0x00, 0x00, 0x80) : QColor(0x80, 0x80, 0x80));

    // Measuring: path and area mode lock what would change the map under the
    // measurement; area mode keeps the borders, the graticule and its own button.
    const bool pathMode = s.tool == MapTool::Path;
    const bool areaMode = s.tool == MapTool::RegionArea;
    if (pathMode || areaMode) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 TkBtn2, Button5, Button6, Button7, Button9, Button12, Button13, Button14, BtnCenter, BtnLetter,
                 BtnPaint, BtnMark, BtnMulti, BtnLine, CBPrefBorder, CBTownBorder, CBNTownBorder, CBTownName, CBLabel,
                 CBScale, CBLonLat, CBLake, UDHor, UDVer, UpDown1, CBNokori, ComboBox1})
            setControlEnabled(w, false);
        TkBtn2->setTextColor(QColor(0x80, 0x80, 0x80));
    }
    if (areaMode) {
        setControlEnabled(Button14, true);
        for (auto [box, sw] : {std::pair{CBPrefBorder, Switch::PrefBorders}, std::pair{CBTownBorder, Switch::TownBorders},
                               std::pair{CBLonLat, Switch::Graticule}})
            setControlEnabled(box, s.switchUsable(sw));
    }
    Button14->setText(areaMode ? QStringLiteral("終り") : QStringLiteral("面積"));
    Button14->setToolTip(areaMode ? QStringLiteral("面積測定終了") : QStringLiteral("測定領域をクリック"));
    setQuietly(CBTimer, s.pathAutomatic);
    setQuietly(CBNokori, s.landArea);
    setQuietly(CBChiri, s.webMapArmed);
    if (pathMode)
        MapImage->setCursor(measuringCursor(kPathMarkOffset));
    else if (s.circles.pickingCentre())
        MapImage->setCursor(customCursor(301));
    else if (s.stampingArmed())
        MapImage->setCursor(stampCursor());
    else
        MapImage->unsetCursor();
    kyori_->refresh();
    refreshSymbolControls();
    if (letter_)
        letter_->refresh();
    if (inLabel_)
        inLabel_->refresh();
    setControlEnabled("MAutoLabel", viewUsable);
    setControlEnabled("MOldLabel", viewUsable && switches.CBNTownBorder);

    // Image size choices follow the reduction.
    const auto texts = imageSizeChoices(view.reductionDivisor);
    QRadioButton* radios[] = {RBSize600, RBSize1200, RBSize1800};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(radios[i]);
        QString text = QString::fromStdString(texts[static_cast<size_t>(i)]);
        radios[i]->setText(i == 0 ? text.rightJustified(4, QLatin1Char(' ')) : text);
        radios[i]->setChecked(view.sizeFactor == i + 1);
    }

    // Readout mode and the searched name's kind.
    const ReadoutModeTexts mode = readoutModeTexts(s.readoutInMapUnits);
    Button11->setText(QString::fromStdString(mode.caption));
    Button11->setToolTip(QString::fromStdString(mode.hint));
    // The search history in the drop-down; the typed text stays.
    QStringList history;
    for (const std::string& name : s.history.names())
        history << QString::fromStdString(name);
    QStringList shown;
    for (int i = 0; i < ComboBox1->count(); ++i)
        shown << ComboBox1->itemText(i);
    if (history != shown) {
        const QSignalBlocker block(ComboBox1);
        const QString typed = ComboBox1->currentText();
        ComboBox1->clear();
        ComboBox1->addItems(history);
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(typed);
    }
    for (auto [name, on] : {std::pair{"MTimeOrder", s.history.order() == HistoryOrder::Time},
                            std::pair{"MKanjiOrder", s.history.order() == HistoryOrder::Text}}) {
        const QSignalBlocker block(action(name));
        action(name)->setChecked(on);
    }
    Label24->setText(QString::fromStdString(s.searchNameKind));
    Label24->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(qcolorOf(s.searchNameKindColor).name()));
    showTownPaintColor();

    // The paint window shows the painting state.
    paint_->setSwatchesEnabled(locked);
    paint_->BtnEnd->setEnabled(locked);
    paint_->BtnUndo->setEnabled(locked && paintRecords.count() > 0);
    paint_->BtnResume->setEnabled(!locked && map);
    paint_->BtnNew->setEnabled(!locked && map);
    paint_->BtnClose->setEnabled(!locked);
    paint_->CBShow->setEnabled(!locked);
    paint_->setPaintCount(paintRecords.count());
    const std::pair<QCheckBox*, bool> paintBoxes[] = {{paint_->CBShow, s.paintOptions.show},
                                                      {paint_->CBWhite, s.paintOptions.whiteBackground},
                                                      {paint_->CBKuPaint, s.paintOptions.wardPaint},
                                                      {paint_->CBOldPaint, s.paintOptions.preMergerPaint},
                                                      {paint_->CBTownName, s.paintOptions.namesOverPaint}};
    for (auto [box, on] : paintBoxes) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    if (s.selectedSlot < 0)
        paint_->deselectSlots();
    refreshPaintFileControls();

    // The settings window shows the same switches and view choices.
    settei_->setMapShown(map);
    settei_->refreshFromMainSwitches();
    settei_->setStepIndex(magnificationStepIndex(view.magStep));
    settei_->setMoveIndex(moveFactorIndex(view.moveFactor));
    settei_->setReductionIndex(view.reductionDivisor - 1);
    settei_->setImageSizeIndex(view.sizeFactor - 1);
    for (const QString& name : awaitingToolWindows())
        setControlEnabled(name.toLatin1().constData(), false);
    refreshing_ = false;
    MapImage->update();
}

// ----------------------------------------------------------------------------- selection

void TOpen::confirmSelection(const std::vector<int>& areas, bool oldBorders, bool pleaseWait)
{
    if (session.paintActive)
        return;
    if (pleaseWait) {
        process_->setText(QStringLiteral("地図を描く準備をしています"));
        process_->show();
        QApplication::processEvents();
    }
    rangeTimer_->stop();
    const bool loaded = session.selectAreas(areas, oldBorders);
    process_->hide();
    if (!loaded)
        return; // the message has been shown; the previous map and its state stay
    TkBtn1->hide();
    Label19->clear();
    Label35->hide();
    settei_->refreshFromDisplayState();
    refreshControls();
}

void TOpen::standardRange()
{
    rangeTimer_->stop();
    session.standardRange();
}

void TOpen::goBack() { session.goBack(); }

void TOpen::setMagnificationStep(float step) { session.setMagnificationStep(step); }

void TOpen::setReduction(int divisor) { session.setReduction(divisor); }

void TOpen::setSizeFactor(int factor) { session.setSizeFactor(factor); }

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
        if (!session.mapShown)
            return false;
        mapWheel(e->angleDelta().y(), e->modifiers());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TOpen::applyPanel(const PanelUpdate& u)
{
    if (u.latitudeLine)
        Label13->setText(QString::fromStdString(*u.latitudeLine));
    if (u.longitudeLine)
        Label14->setText(QString::fromStdString(*u.longitudeLine));
    if (u.title)
        Label17->setText(QString::fromStdString(*u.title));
    if (u.length)
        Label15->setText(QString::fromStdString(*u.length));
    if (u.area)
        Label31->setText(QString::fromStdString(*u.area));
    if (u.superscriptShown)
        Label33->setVisible(*u.superscriptShown);
    if (u.figureColor)
        for (QLabel* l : {Label15, Label31, Label33})
            setTextColor(l, qcolorOf(*u.figureColor).name().toLatin1().constData());
    if (u.unmeasurable) {
        Label35->setText(QString::fromStdString(*u.unmeasurable));
        Label35->setVisible(!u.unmeasurable->empty());
    }
}

void TOpen::pathChanged(const PathEvent& e)
{
    if (e.startTimer)
        pathTimer_->start();
    if (e.stopTimer || e.finished)
        pathTimer_->stop();
    MapImage->update();
}

void TOpen::openWebMap(QPoint pixel)
{
    keisoku_->setText(QString::fromUtf8(kWebMapWaitText));
    keisoku_->show();
    keisoku_->repaint();
    const std::string address = session.webMapClick(pixel);
    const bool opened = openAddress && openAddress(address);
    keisoku_->hide();
    settei_->refreshFromDisplayState();
    if (!opened)
        dialogs().show(kBrowserFailedText, kBrowserFailedTitle, MessageIcon::Exclamation);
}

void TOpen::busy(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TOpen::pointerReadout(QPoint pixel)
{
    // While a symbol is armed the point is where the stamp would land.
    const PanelUpdate u = readoutAt(view, session.readoutPoint(pixel), session.readoutInMapUnits);
    Label13->setText(QString::fromStdString(u.latitudeLine.value_or(std::string())));
    Label14->setText(QString::fromStdString(u.longitudeLine.value_or(std::string())));
}

void TOpen::rangeLength(float km) { Label15->setText(kmText("%7.2f km", km)); }

void TOpen::rangeReleased(QPoint corner, int side)
{
    if (!CBCopy->isChecked())
        return;
    // The cached picture carries no square or text: exactly the map is copied.
    putImageOnClipboard(rangeSquare(canvas.image(), corner.x(), corner.y(), side));
    clipboardUsed = true;
}

void TOpen::rangeApplied() { Label17->setText(QStringLiteral("距離")); }

void TOpen::circlesChanged() { kyori_->refresh(); }

void TOpen::readingsChanged() { yomi_->refresh(); }

void TOpen::mapPress(int x, int y, Qt::MouseButton button)
{
    if (!session.mapShown)
        return;
    if (button == Qt::RightButton)
        showSettingsWindow();
    else if (button == Qt::LeftButton)
        mouseTools_->press(QPoint(x, y));
}

void TOpen::mapMove(int x, int y)
{
    mouseTools_->move(QPoint(x, y));
    MapImage->update();
}

void TOpen::mapRelease(int x, int y)
{
    mouseTools_->release(QPoint(x, y));
    MapImage->update();
}

void TOpen::mapDoubleClick(int x, int y) { mouseTools_->doubleClick(QPoint(x, y)); }

bool TOpen::settleMapLineForExit()
{
    if (!lineAdd_ || !lineAdd_->settleUnsaved(exitLineQuestion()))
        return !lineAdd_;
    if (session.lineEditor.unsaved())
        session.closeMapLine(); // discarded
    return true;
}

void TOpen::closeEvent(QCloseEvent* e)
{
    // Closed from the window's frame: an edited map line is not dropped without asking.
    if (!settleMapLineForExit()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

void TOpen::mapWheel(int delta, Qt::KeyboardModifiers modifiers)
{
    if (!session.mapShown || delta == 0 || session.paintActive || session.measuring())
        return;
    const bool down = delta < 0;
    if (modifiers & Qt::ShiftModifier)
        session.move(down ? MoveDirection::Down : MoveDirection::Up);
    else if (modifiers & Qt::ControlModifier)
        session.move(down ? MoveDirection::Right : MoveDirection::Left);
    else
        session.zoomBy(down ? 1 : -1);
}

// ----------------------------------------------------------------------------- painting

void TOpen::startPaint()
{
    const bool wasOpen = settei_->isVisible();
    if (!session.startPaint([this](const Message& m) { return dialogs().ask(m); })) {
        if (session.paintRecords.count() > 0)
            paint_->BtnResume->setEnabled(true);
        return;
    }
    // The settings window would rescale the map under the paint: it closes while painting.
    settingsWereOpen_ = wasOpen;
    settei_->hide();
    if (!paint_->isVisible()) {
        // Beside the main window where the screen has room, so it does not hide the map.
        placeBeside(paint_, this);
    }
    paint_->show();
    paint_->raise();
    refreshControls();
}

void TOpen::resumePaint()
{
    const bool wasOpen = settei_->isVisible();
    session.resumePaint();
    if (!session.paintActive)
        return;
    settingsWereOpen_ = wasOpen;
    settei_->hide();
    refreshControls();
}

void TOpen::endPaint()
{
    session.endPaint();
    if (settingsWereOpen_) {
        settingsWereOpen_ = false;
        showSettingsWindow();
    }
    refreshControls();
}

void TOpen::undoPaint() { session.undoPaint(); }

} // namespace oboro
