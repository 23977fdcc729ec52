// Layout of the main window: every control under its own name, positions in
// pixels (the settings column keeps its geometry in twips, see Form1Column.cpp).
#include "ui/Form1.h"

#include "core/MaterialSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace glazery {
namespace {

constexpr int ClientWidth = 800;
constexpr int ClientHeight = 560;
constexpr int ColumnWidth = 236;    // pixels, panels and picSettings
constexpr int ContainerWidth = 256; // column + scroll bar strip
constexpr int BottomHeight = 44;
// One pixel less than a collapsed panel, so a thin line parts the headers.
constexpr int HeaderHeight = Form1::CollapsedPanelHeight / TwipsPerPixel - 1; // 18
constexpr int FirstPanelTop = 300;  // twips, below the "Settings:" label

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w = 0)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    if (w > 0)
        l->resize(w, 16);
    else
        l->adjustSize();
    return l;
}

template <class Box = TextBox>
Box* textBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int w)
{
    auto* box = new Box(parent, name, text);
    box->setGeometry(x, y, w, 20);
    return box;
}

NumberBox* numberBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int w)
{
    return textBox<NumberBox>(parent, name, text, x, y, w);
}

QSlider* slider(QWidget* parent, const QString& name, Qt::Orientation orientation, int max,
                QRect geometry)
{
    auto* s = new QSlider(orientation, parent);
    s->setObjectName(name);
    s->setRange(0, max);
    s->setGeometry(geometry);
    return s;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, QRect geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w)
{
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(name);
    o->setGeometry(x, y, w, 18);
    return o;
}

Swatch* swatch(QWidget* parent, const QString& name, QRect geometry, const QColor& color)
{
    auto* s = new Swatch(parent, name, color);
    s->setGeometry(geometry);
    return s;
}

} // namespace

void Form1::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName("mnuFile");
    auto add = [this](QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& key, void (Form1::*slot)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (!key.isEmpty())
            action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, "mnuNew", tr("&New"), QKeySequence::New, &Form1::menuNew);
    add(file, "mnuLoad", tr("&Load"), QKeySequence::Open, &Form1::menuLoad);
    add(file, "mnuSave", tr("&Save"), QKeySequence::Save, &Form1::menuSave);
    file->addSeparator();
    add(file, "mnuExit", tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &Form1::menuExit);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName("mnuView");
    mnuAutoSpin_ = view->addAction(tr("&Auto Spin"));
    mnuAutoSpin_->setObjectName("mnuAutoSpin");
    mnuAutoSpin_->setCheckable(true);
    mnuAutoSpin_->setChecked(true);
    mnuAutoSpin_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName("mnuHelp");
    add(help, "GlazeryHelp", tr("&Using Glazery"), QKeySequence::HelpContents, &Form1::showHelp);
    add(help, "mnuAbout", tr("&About"), QKeySequence(), &Form1::showAbout);
}

QWidget* Form1::buildPanel(int index, const QString& caption)
{
    auto* panel = new PictureBox(picSettings_, QStringLiteral("picFrame_%1").arg(index));
    panel->setBackColor(palette().color(QPalette::Window));
    auto* header = new MouseLabel(panel, QStringLiteral("lblFrame_%1").arg(index), caption);
    header->setGeometry(0, 0, ColumnWidth, HeaderHeight);
    header->setIndent(6);
    header->setAutoFillBackground(true);
    QPalette headerPalette = header->palette();
    headerPalette.setColor(QPalette::Window, QColor(64, 84, 128));
    headerPalette.setColor(QPalette::WindowText, Qt::white);
    header->setPalette(headerPalette);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setCursor(Qt::PointingHandCursor);
    auto* arrow = new PictureBox(header, QStringLiteral("picArrow_%1").arg(index));
    arrow->setGeometry(ColumnWidth - 20, 1, 16, 16);
    arrow->setPicture(icons::panelUp(16));
    arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(header, &MouseLabel::mousePressed, this, [this, index](Qt::MouseButton b, QPoint p) {
        panelHeaderMouseDown(index, b, toTwips(p.y()));
    });
    connect(header, &MouseLabel::mouseMoved, this, [this, index](Qt::MouseButtons b, QPoint p) {
        panelHeaderMouseMove(index, b, toTwips(p.y()));
    });
    const auto i = static_cast<size_t>(index);
    picFrame_[i] = panel;
    lblFrame_[i] = header;
    picArrow_[i] = arrow;
    return panel;
}

void Form1::finishPanel(int index, int contentHeightPixels)
{
    const auto i = static_cast<size_t>(index);
    panelFullHeight_[i] = toTwips(contentHeightPixels);
    panelHeight_[i] = panelFullHeight_[i];
    panelTop_[i] = index == 0 ? FirstPanelTop : panelTop_[i - 1] + panelHeight_[i - 1] + 4;
}

void Form1::buildColourPanel(QWidget* panel, ColourGroupControls& g, const QString& prefix,
                             const QString& swatchName)
{
    static const char* const components[] = {"r", "g", "b", "a"};
    static const char* const captions[] = {"Red", "Green", "Blue", "Alpha"};
    for (int k = 0; k < 4; ++k) {
        const int x = 8 + k * 44;
        label(panel, tr(captions[k]), x, 22, 42);
        g.box[static_cast<size_t>(k)] = numberBox(panel, prefix + components[k], "0", x, 38, 40);
        g.slider[static_cast<size_t>(k)] = slider(panel, "V" + prefix + components[k],
                                                  Qt::Vertical, 255, QRect(x + 10, 62, 20, 80));
    }
    g.swatch = swatch(panel, swatchName, QRect(188, 38, 40, 40), Qt::black);
}

void Form1::buildSpecularExtras(QWidget* panel)
{
    label(panel, tr("Power"), 8, 151);
    pow_ = numberBox(panel, "Pow", "0", 56, 148, 44);
    vPow_ = slider(panel, "VPow", Qt::Horizontal, 255, QRect(108, 149, 120, 18));
}

void Form1::buildFilesPanel(QWidget* panel)
{
    struct Row { const char* caption; TextBox** box; const char* boxName; const char* pick; const char* clear; };
    const Row rows[] = {
        {"Background:", &txtBackGround_, "txtBackGround", "Command4", "Command2"},
        {"Texture:", &txtTexture_, "txtTexture", "Command3", "Command5"},
        {"Bumpmap:", &txtBumpMap_, "txtBumpMap", "Command7", "Command6"},
    };
    for (int r = 0; r < 3; ++r) {
        const int y = 22 + r * 40;
        label(panel, tr(rows[r].caption), 8, y);
        *rows[r].box = textBox(panel, rows[r].boxName, kNoFileText, 8, y + 16, 160);
        (*rows[r].box)->setReadOnly(true);
        auto* pick = button(panel, rows[r].pick, "...", QRect(172, y + 16, 28, 20));
        auto* clear = button(panel, rows[r].clear, "x", QRect(204, y + 16, 24, 20));
        connect(pick, &QPushButton::clicked, this, [this, r] { pickTexture(r); });
        connect(clear, &QPushButton::clicked, this, [this, r] { clearTexture(r); });
    }
    label(panel, tr("Bump mapping:"), 8, 145);
    option4_ = option(panel, "Option4", tr("On"), 112, 144, 50);
    option3_ = option(panel, "Option3", tr("Off"), 166, 144, 50);
    option3_->setChecked(true);
    connect(option4_, &QRadioButton::clicked, this, [this] { setBumpMapping(true); });
    connect(option3_, &QRadioButton::clicked, this, [this] { setBumpMapping(false); });
}

void Form1::buildObjectsPanel(QWidget* panel)
{
    static const char* const defaults[] = {"Sphere", "Teapot", "Cube", "Cylinder", "Cone",
                                           "Pyramid", "Torus", "Tube", "Skull"};
    for (int i = 0; i < ObjectCount; ++i) {
        auto* o = option(panel, QStringLiteral("optObjects_%1").arg(i), tr(defaults[i]),
                         8 + (i % 3) * 74, 24 + (i / 3) * 20, 72);
        optObjects_[static_cast<size_t>(i)] = o;
        connect(o, &QRadioButton::clicked, this, [this, i] { showObject(i); });
    }
    optObjects_[0]->setChecked(true);
    check2_ = new QCheckBox(tr("Sphere maping"), panel);
    check2_->setObjectName("Check2");
    check2_->setGeometry(8, 88, 130, 20);
    // Acts on mouse up (clicked), after the box has toggled.
    connect(check2_, &QCheckBox::clicked, this, [this] { setSphereMapping(check2_->isChecked()); });
    auto* options = button(panel, "Command1", tr("Options"), QRect(150, 86, 78, 22));
    connect(options, &QPushButton::clicked, this, &Form1::showObjectsOptions);
}

void Form1::buildLightPanel(QWidget* panel)
{
    label(panel, tr("Type of light:"), 8, 26);
    cboTypeOfLight_ = new QComboBox(panel);
    cboTypeOfLight_->setObjectName("cboTypeOfLight");
    cboTypeOfLight_->setGeometry(96, 22, 132, 22);

    label(panel, tr("Light:"), 8, 50);
    option5_ = option(panel, "Option5", tr("On"), 96, 49, 50);
    option6_ = option(panel, "Option6", tr("Off"), 150, 49, 50);
    option5_->setChecked(true);

    static const char* const axes[] = {"X", "Y", "Z"};
    label(panel, tr("Position of light:"), 8, 72);
    for (int k = 0; k < 3; ++k)
        position_[static_cast<size_t>(k)] =
            numberBox(panel, QStringLiteral("p") + axes[k], k == 1 ? "-1" : "1", 8 + k * 74, 88, 70);
    label(panel, tr("Direction of directional light:"), 8, 112);
    static const int sliderStart[] = {6, 4, 6};
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<size_t>(k);
        direction_[i] = numberBox(panel, QStringLiteral("t") + axes[k], k == 1 ? "-1" : "1", 8 + k * 74, 128, 70);
        directionSlider_[i] = slider(panel, QStringLiteral("vs") + axes[k], Qt::Horizontal, 10,
                                     QRect(8 + k * 74, 150, 70, 18));
        directionSlider_[i]->setValue(sliderStart[k]);
    }
    label(panel, tr("Spotlight angles:"), 8, 172);
    label(panel, tr("Theta"), 8, 192);
    tTheta_ = numberBox(panel, "tTheta", "80", 48, 190, 50);
    label(panel, tr("Phi"), 112, 192);
    tPhi_ = numberBox(panel, "tPhi", "90", 140, 190, 50);
    label(panel, tr("Range"), 8, 216);
    lRange_ = numberBox(panel, "lRange", "1000", 48, 214, 70);

    struct Trio { const char* caption; const char* prefix; const char* swatchName; const char* start; };
    const Trio trios[] = {{"Light Ambient color:", "la", "picLightAmb", "0"},
                          {"Light Diffuse color:", "ld", "picLightDif", "255"},
                          {"Light Specular color:", "ls", "picLightSpq", "255"}};
    static const char* const rgb[] = {"R", "G", "B"};
    for (int t = 0; t < 3; ++t) {
        const int y = 238 + t * 40;
        label(panel, tr(trios[t].caption), 8, y);
        auto& trio = lightTrios_[static_cast<size_t>(t)];
        for (int k = 0; k < 3; ++k)
            trio.box[static_cast<size_t>(k)] =
                numberBox(panel, QString(trios[t].prefix) + rgb[k], trios[t].start, 8 + k * 52, y + 16, 48);
        const int c = QString(trios[t].start).toInt();
        trio.swatch = swatch(panel, trios[t].swatchName, QRect(168, y + 16, 60, 20), QColor(c, c, c));
    }
    auto* defaults = button(panel, "Command8", tr("Default"), QRect(148, 360, 80, 22));
    connect(defaults, &QPushButton::clicked, this, [this] { loadLightSettings(defaultMaterialPath()); });
}

void Form1::buildColumn(QWidget* client)
{
    picContainer_ = new PictureBox(client, "picContainer");
    picContainer_->setGeometry(4, 4, ContainerWidth, ClientHeight - BottomHeight - 8);
    picSettings_ = new PictureBox(picContainer_, "picSettings");
    picSettings_->setGeometry(0, toPixels(ColumnRestingTop), ColumnWidth, 2000);
    auto* settingsLabel = new QLabel(tr("Settings:"), picSettings_);
    settingsLabel->setObjectName("lblSettings");
    settingsLabel->setGeometry(4, 0, 120, 18);

    buildColourPanel(buildPanel(0, tr("Ambient")), group(Group::Ambient), "A", "picAmb");
    finishPanel(0, 148);
    buildColourPanel(buildPanel(1, tr("Diffuse")), group(Group::Diffuse), "D", "PicDif");
    finishPanel(1, 148);
    QWidget* specular = buildPanel(2, tr("Specular"));
    buildColourPanel(specular, group(Group::Specular), "S", "picSpec");
    buildSpecularExtras(specular);
    finishPanel(2, 174);
    buildColourPanel(buildPanel(3, tr("Emissive")), group(Group::Emissive), "E", "picEmi");
    finishPanel(3, 148);
    buildFilesPanel(buildPanel(4, tr("Files")));
    finishPanel(4, 168);
    buildObjectsPanel(buildPanel(5, tr("Objects")));
    finishPanel(5, 114);
    buildLightPanel(buildPanel(6, tr("Light")));
    finishPanel(6, 388);

    // Scroll bar strip right of the column.
    const int stripX = ColumnWidth + 2;
    picUpArr_ = new PictureBox(picContainer_, "picUpArr");
    picUpArr_->setGeometry(stripX, 0, 17, 17);
    picUpArr_->setPicture(icons::scrollUp(17));
    picScrollbar_ = new PictureBox(picContainer_, "picScrollbar");
    picScrollbar_->setGeometry(stripX, 19, 17, 400);
    picScrollbar_->setBackColor(QColor(200, 200, 205));
    picScroller_ = new PictureBox(picScrollbar_, "picScroller");
    picScroller_->setGeometry(0, 0, 17, 40);
    picScroller_->setBackColor(QColor(110, 120, 150));
    picDownArr_ = new PictureBox(picContainer_, "picDownArr");
    picDownArr_->setGeometry(stripX, 421, 17, 17);
    picDownArr_->setPicture(icons::scrollDown(17));

    connect(picDownArr_, &PictureBox::mousePressed, this, [this] { scrollingDown_ = true; });
    connect(picDownArr_, &PictureBox::mouseReleased, this, [this] { scrollingDown_ = false; });
    connect(picUpArr_, &PictureBox::mousePressed, this, [this] { scrollingUp_ = true; });
    connect(picUpArr_, &PictureBox::mouseReleased, this, [this] { scrollingUp_ = false; });
    connect(picScroller_, &PictureBox::mousePressed, this, [this](Qt::MouseButton b, QPoint p) {
        if (b == Qt::LeftButton)
            scrollerDragY_ = p.y();
    });
    connect(picScroller_, &PictureBox::mouseMoved, this, [this](Qt::MouseButtons b, QPoint p) {
        if (b & Qt::LeftButton)
            dragScroller(picScroller_->y() + p.y() - scrollerDragY_);
    });
}

void Form1::buildBottomBar(QWidget* client)
{
    picBottom_ = new PictureBox(client, "picBottom");
    picBottom_->setGeometry(0, ClientHeight - BottomHeight, ClientWidth, BottomHeight);
    picBottom_->setBackColor(QColor(64, 84, 128));
    struct Spec { const char* name; QPixmap (*icon)(int); const char* tip; void (Form1::*action)(); };
    const Spec specs[] = {{"picButtonLoad", icons::load, "Load material", &Form1::menuLoad},
                          {"picButtonSave", icons::save, "Save material", &Form1::menuSave},
                          {"picButtonCode", icons::code, "Material settings in KL-Code", &Form1::showCode},
                          {"picButtonQuit", icons::quit, "Quit", &Form1::menuExit}};
    for (int k = 0; k < 4; ++k) {
        auto* b = new PictureBox(picBottom_, specs[k].name);
        b->setGeometry(10 + k * 44, 4, 36, 36);
        b->setPicture(specs[k].icon(36));
        b->setToolTip(tr(specs[k].tip));
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &PictureBox::clicked, this, specs[k].action);
        bottomButtons_[static_cast<size_t>(k)] = b;
    }
}

} // namespace glazery
