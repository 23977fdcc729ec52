// The main window's file and preset commands: "&Load" and "&Save" of particle
// files, "&Add New", the preset lists (load and delete) and "Generate &Code".
// It answers the preset operations for the window: the enable boxes, the
// custom texture, showing and applying emitters, the log.
#pragma once

#include "core/mPresets.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace emberly {

class frmMain;

class PresetMenus : public QObject, public PresetWindow {
    Q_OBJECT
public:
    // Installs itself as the window's handler of those menu items.
    explicit PresetMenus(frmMain& form);

    QString storePath() const;

    // ---- menu actions, public so tests can run them -----------------------
    void menuLoad();
    // A particle file named on the command line, loaded as Load loads the
    // chosen file; a message naming it when there is none at `path`.
    void openFileAtStart(const QString& path);
    void menuSave();
    void menuAddNew();
    void menuCode();
    void loadFromMenu(const QString& name);
    void deletePreset(const QString& name);
    // Lists the store's presets in both menus; with removal the lists are
    // emptied first.
    void buildPresetMenus(bool removal);

    // The items of the load list (index 0 the template), in menu order.
    QList<QAction*> loadItems() const;
    QList<QAction*> deleteItems() const;

    // ---- PresetWindow ------------------------------------------------------
    EmitterRecords& records() override;
    bool emitterEnabled(int index) const override;
    void setEmitterEnabled(int index, bool on) override;
    bool onlyBuiltInTextures() const override;
    void loadCustomTexture() override;
    void showEmitter(int index) override;
    void applyEmitter(int index) override;
    void log(const QString& line) override;

private:
    QAction* loadItem(int index, bool create);
    QAction* deleteItem(int index, bool create);
    // The menu's item of that object name; made (with its click handler,
    // logged under `procedure`) when missing and `create` is set.
    QAction* menuItem(QMenu* menu, const QString& objectName, bool create, bool checkable, const QString& procedure,
                      std::function<void(const QString&)> onClick);
    static QList<QAction*> itemsNamed(const QMenu* menu, const QString& prefix);
    void saveTo(const QString& name, const QString& file);

    frmMain& form_;
};

} // namespace emberly
