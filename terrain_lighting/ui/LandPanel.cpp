#include "ui/LandPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLinearGradient>

#include <cmath>
#include <QPainter>
#include <QVBoxLayout>

namespace landlume {
namespace {

// Logo height: the frame keeps its top 1170 twips above the bottom.
constexpr int kLogoHeight = 1170 / 15;

QGroupBox* group(QWidget* parent, const QString& caption, QGridLayout*& grid)
{
    auto* box = new QGroupBox(caption, parent);
    grid = new QGridLayout(box);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(3);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption, bool ticked)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(ticked);
    return box;
}

ShapeButton* button(QWidget* parent, const QString& role, const QString& caption, bool pressedLook = true)
{
    return new ShapeButton(parent, role, caption, caption, pressedLook);
}

} // namespace

QPixmap landlumeLogo(int width, int height)
{
    QPixmap logo(width, height);
    QPainter painter(&logo);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(40, 70, 110));
    sky.setColorAt(1, QColor(20, 30, 40));
    painter.fillRect(logo.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF hills;
    hills << QPointF(0, height);
    for (int x = 0; x <= width; x += 8)
        hills << QPointF(x, height * 0.75 - 10.0 * std::sin(x / 23.0) - 6.0 * std::sin(x / 9.0));
    hills << QPointF(width, height);
    painter.setBrush(QColor(70, 110, 60));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(hills);
    painter.setPen(QColor(255, 204, 0));
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(14);
    painter.setFont(font);
    painter.drawText(QRect(0, 4, width, height / 2), Qt::AlignCenter, QStringLiteral("Landlume"));
    return logo;
}

LandPanel::LandPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelLeft"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 0);
    int description = 0;

    QGridLayout* grid = nullptr;
    QGroupBox* landGroup = group(this, QStringLiteral("Landscape settings"), grid);
    loadHeight = button(landGroup, QStringLiteral("LoadHeight"), QStringLiteral("Load heightmap"));
    grid->addWidget(loadHeight, 0, 0, 1, 2);
    landSet = boxRows(landGroup, grid, 1, QStringLiteral("TxtLandSet"),
                      {QStringLiteral("Width:"), QStringLiteral("Height:"), QStringLiteral("FactorY:")},
                      {QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("1")}, true, description);
    applyLand = applyButton(landGroup, QStringLiteral("ApplyLand"));
    grid->addWidget(applyLand, 4, 0, 1, 2);
    column->addWidget(landGroup);

    QGroupBox* lightmapGroup = group(this, QStringLiteral("Lightmap settings"), grid);
    loadLight = button(lightmapGroup, QStringLiteral("LoadLight"), QStringLiteral("Load lightmap"));
    removeLight = button(lightmapGroup, QStringLiteral("RemoveLight"), QStringLiteral("Remove lightmap"));
    grid->addWidget(loadLight, 0, 0, 1, 2);
    grid->addWidget(removeLight, 1, 0, 1, 2);
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(new QLabel(i == 0 ? QStringLiteral("Width:") : QStringLiteral("Height:"), lightmapGroup),
                        2 + i, 0);
        shadowSet[std::size_t(i)] =
            new PanelBox(lightmapGroup, QStringLiteral("TxtShadowSet"), i, QStringLiteral("512"), true);
        grid->addWidget(shadowSet[std::size_t(i)], 2 + i, 1);
    }
    applyShadow = applyButton(lightmapGroup, QStringLiteral("ApplyShadow"));
    grid->addWidget(applyShadow, 4, 0, 1, 2);
    column->addWidget(lightmapGroup);

    QGroupBox* alphaGroup = group(this, QStringLiteral("Lightmap alpha"), grid);
    auto* alphaLabel = new QLabel(QStringLiteral("Alpha:"), alphaGroup);
    alphaLabel->setObjectName(QStringLiteral("LblDescription_%1").arg(description++));
    grid->addWidget(alphaLabel, 0, 0);
    shadowSet[2] = new PanelBox(alphaGroup, QStringLiteral("TxtShadowSet"), 2, QStringLiteral("0.4"), true);
    grid->addWidget(shadowSet[2], 0, 1);
    applyAlpha = applyButton(alphaGroup, QStringLiteral("ApplyAlpha"));
    grid->addWidget(applyAlpha, 1, 0, 1, 2);
    column->addWidget(alphaGroup);

    QGroupBox* optionsGroup = group(this, QStringLiteral("Options"), grid);
    landShadows = checkBox(optionsGroup, QStringLiteral("ChkLShadows"), QStringLiteral("Landscape shadows"), true);
    objectShadows = checkBox(optionsGroup, QStringLiteral("ChkOShadows"), QStringLiteral("Object shadows"), true);
    visualize =
        checkBox(optionsGroup, QStringLiteral("ChkVisualize"), QStringLiteral("Visualize coordinates"), false);
    // No action reads it: it is kept, unticked, but not offered.
    visualize->hide();
    generate = button(optionsGroup, QStringLiteral("Generate"), QStringLiteral("Generate lightmap"));
    saveLightmap = button(optionsGroup, QStringLiteral("SaveMap"), QStringLiteral("Save lightmap"));
    saveCoords = button(optionsGroup, QStringLiteral("SaveCoords"), QStringLiteral("Save shadow coordinates"), false);
    grid->addWidget(landShadows, 0, 0);
    grid->addWidget(objectShadows, 1, 0);
    grid->addWidget(generate, 2, 0);
    grid->addWidget(saveLightmap, 3, 0);
    grid->addWidget(saveCoords, 4, 0);
    column->addWidget(optionsGroup);

    column->addStretch(1);
    logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setFixedHeight(kLogoHeight);
    logo->setPixmap(landlumeLogo(180, kLogoHeight));
    column->addWidget(logo);
    setFixedWidth(196);
}

void LandPanel::showDefaults()
{
    landSet[0]->setText(QStringLiteral("8"));
    landSet[1]->setText(QStringLiteral("8"));
    landSet[2]->setText(QStringLiteral("1"));
    shadowSet[0]->setText(QStringLiteral("512"));
    shadowSet[1]->setText(QStringLiteral("512"));
    shadowSet[2]->setText(QStringLiteral("0.4"));
    landShadows->setChecked(true);
    objectShadows->setChecked(true);
}

} // namespace landlume
