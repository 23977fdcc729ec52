#include "ui/PresetMenus.h"

#include "core/cInifile.h"
#include "ui/EmberlyScene.h"
#include "ui/frmExport.h"
#include "ui/frmMain.h"

#include <platform/Interaction.h>
#include <toolkit/Dialogs.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace emberly {

namespace {
const QString kParticleFileFilter = QStringLiteral("Emberly File (*.pkl)|*.pkl");
}

PresetMenus::PresetMenus(frmMain& form) : QObject(&form), form_(form)
{
    frmMain::MenuHandlers handlers;
    handlers.load = [this] { menuLoad(); };
    handlers.save = [this] { menuSave(); };
    handlers.addNew = [this] { menuAddNew(); };
    handlers.code = [this] { menuCode(); };
    handlers.buildPresetMenus = [this] { buildPresetMenus(false); };
    form_.setMenuHandlers(std::move(handlers));
}

QString PresetMenus::storePath() const
{
    return QDir(form_.programFolder()).filePath(kPresetStoreName);
}

// ---- menu actions ------------------------------------------------------------

void PresetMenus::menuLoad()
{
    const std::optional<QString> path = toolkit::dialogs::openFile(QStringLiteral("Emberly - Load File"), kParticleFileFilter);
    if (!path)
        return;
    loadPreset(particleFileSection(*path), *path, *this);
}

void PresetMenus::openFileAtStart(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        toolkit::dialogs::message(
            QStringLiteral("The particle file %1 was not found.").arg(QDir::toNativeSeparators(path)),
            toolkit::dialogs::Icon::Exclamation, QStringLiteral("Emberly"));
        return;
    }
    loadPreset(particleFileSection(file.absoluteFilePath()), file.absoluteFilePath(), *this);
}

void PresetMenus::menuSave()
{
    const std::optional<QString> chosen = toolkit::dialogs::saveFile(QStringLiteral("Emberly - Save File"), kParticleFileFilter);
    if (!chosen)
        return;
    const QString path = particleFileSavePath(*chosen);
    saveTo(particleFileSection(path), path);
}

void PresetMenus::menuAddNew()
{
    const std::optional<QString> answer = platform::inputBox(QStringLiteral("Please Choose a unique name for your Preset."),
                                                             QStringLiteral("Emberly - Choose Name"), QString());
    if (!answer || answer->isEmpty())
        return;
    // A name the store cannot hold would be written key by key and never listed.
    if (const QString problem = presetNameProblem(*answer); !problem.isEmpty()) {
        toolkit::dialogs::message(problem, toolkit::dialogs::Icon::Exclamation, QStringLiteral("Emberly"));
        return;
    }
    saveTo(answer->trimmed(), storePath());
    buildPresetMenus(false);
}

void PresetMenus::saveTo(const QString& name, const QString& file)
{
    // Each key write replaces the file whole; one that fails leaves it as it
    // was, and the user hears of it once.
    if (!savePreset(name, file, *this))
        toolkit::dialogs::message(saveFailedMessage(file), toolkit::dialogs::Icon::Exclamation, QStringLiteral("Emberly"));
}

void PresetMenus::menuCode()
{
    frmExport window(form_);
    window.exec();
}

void PresetMenus::loadFromMenu(const QString& name)
{
    loadPreset(name, storePath(), *this);
    for (QAction* item : loadItems())
        item->setChecked(item->isVisible() && item->text() == name);
}

void PresetMenus::deletePreset(const QString& name)
{
    const int answer = platform::msgBox(QStringLiteral("Are you sure you want to delete this HotKey?\r") + name,
                                        platform::vbYesNo | platform::vbQuestion, QStringLiteral("Warning!"));
    if (answer != platform::vbYes)
        return;
    DeleteIniKey(storePath(), kPresetsSection, name);
    DeleteIniSection(storePath(), name);
    buildPresetMenus(true);
}

QAction* PresetMenus::loadItem(int index, bool create)
{
    return menuItem(form_.presetsMenu(), QStringLiteral("mnuPresetList_%1").arg(index), create, true,
                    QStringLiteral("mnuPresetList_Click"), [this](const QString& name) { loadFromMenu(name); });
}

QAction* PresetMenus::deleteItem(int index, bool create)
{
    return menuItem(form_.presetDeleteMenu(), QStringLiteral("mnuPresetList2_%1").arg(index), create, false,
                    QStringLiteral("mnuPresetList2_Click"), [this](const QString& name) { deletePreset(name); });
}

QAction* PresetMenus::menuItem(QMenu* menu, const QString& objectName, bool create, bool checkable,
                               const QString& procedure, std::function<void(const QString&)> onClick)
{
    for (QAction* a : menu->actions())
        if (a->objectName() == objectName)
            return a;
    if (!create)
        return nullptr;
    auto* item = new QAction(menu);
    item->setObjectName(objectName);
    item->setCheckable(checkable);
    menu->addAction(item);
    connect(item, &QAction::triggered, this, [this, item, procedure, onClick = std::move(onClick)] {
        form_.guarded(procedure, [item, &onClick] { onClick(item->text()); });
    });
    return item;
}

void PresetMenus::buildPresetMenus(bool removal)
{
    // The window's template items (index 0) answer clicks too.
    for (QAction* item : {loadItem(0, false), deleteItem(0, false)})
        if (item && !item->property("wired").toBool()) {
            item->setProperty("wired", true);
            const bool isLoad = item == loadItem(0, false);
            connect(item, &QAction::triggered, this, [this, item, isLoad] {
                form_.guarded(QStringLiteral("mnuPresetList_Click"), [this, item, isLoad] {
                    isLoad ? loadFromMenu(item->text()) : deletePreset(item->text());
                });
            });
        }
    if (removal) {
        loadItem(0, false)->setVisible(false);
        deleteItem(0, false)->setVisible(false);
        // A deleted action leaves its menu.
        qDeleteAll(loadItems().mid(1));
        qDeleteAll(deleteItems().mid(1));
    }
    const QStringList names = presetNames(storePath());
    for (int p = 0; p < names.size(); ++p)
        for (QAction* item : {loadItem(p, true), deleteItem(p, true)}) {
            item->setText(names[p]);
            item->setVisible(true);
        }
}

QList<QAction*> PresetMenus::loadItems() const
{
    return itemsNamed(form_.presetsMenu(), QStringLiteral("mnuPresetList_"));
}

QList<QAction*> PresetMenus::deleteItems() const
{
    return itemsNamed(form_.presetDeleteMenu(), QStringLiteral("mnuPresetList2_"));
}

QList<QAction*> PresetMenus::itemsNamed(const QMenu* menu, const QString& prefix)
{
    QList<QAction*> items;
    for (QAction* a : menu->actions())
        if (a->objectName().startsWith(prefix))
            items.append(a);
    return items;
}

// ---- PresetWindow ---------------------------------------------------------------

EmitterRecords& PresetMenus::records()
{
    return form_.records();
}

bool PresetMenus::emitterEnabled(int index) const
{
    return form_.emitterEnabled(index);
}

void PresetMenus::setEmitterEnabled(int index, bool on)
{
    form_.setEmitterEnabled(index, on);
}

bool PresetMenus::onlyBuiltInTextures() const
{
    return form_.onlyBuiltInTextures();
}

void PresetMenus::loadCustomTexture()
{
    form_.loadTex();
}

void PresetMenus::showEmitter(int index)
{
    form_.showEmitter(index);
}

void PresetMenus::applyEmitter(int index)
{
    emberly::applyEmitter(form_.factory(index), form_.records().particles[std::size_t(index)],
                          form_.records().emitters[std::size_t(index)]);
}

void PresetMenus::log(const QString& line)
{
    form_.scene().log(line);
}

} // namespace emberly
