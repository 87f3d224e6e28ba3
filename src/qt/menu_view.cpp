#include "qt/menu_view.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "qt/conversions.h"

namespace qcqt {

namespace {

void buildmenu(ui::Control& menu, QMenu* qmenu,
               const std::function<void(ui::Control&, QAction*)>& made)
{
    for (ui::Control* c : menu.children()) {
        switch (c->kind()) {
        case ui::Kind::Menu: {
            QMenu* sub = qmenu->addMenu(displaytext(c->caption()));
            made(*c, sub->menuAction());
            buildmenu(*c, sub, made);
            break;
        }
        case ui::Kind::Separator: made(*c, qmenu->addSeparator()); break;
        default: made(*c, qmenu->addAction(displaytext(c->caption()))); break;
        }
    }
}

}  // namespace

void buildmenus(ui::Control& menubar, QMenuBar* bar,
                const std::function<void(ui::Control&, QAction*)>& made)
{
    for (ui::Control* c : menubar.children()) {
        if (c->kind() == ui::Kind::Menu) {
            QMenu* menu = bar->addMenu(displaytext(c->caption()));
            made(*c, menu->menuAction());
            buildmenu(*c, menu, made);
        } else if (c->kind() == ui::Kind::MenuItem) {
            made(*c, bar->addAction(displaytext(c->caption())));
        }
    }
}

void syncaction(const ui::Control& c, QAction* a)
{
    if (c.kind() != ui::Kind::Separator) {
        const QString caption = displaytext(c.caption());
        if (a->text() != caption)
            a->setText(caption);
    }
    a->setEnabled(c.enabled());
    a->setVisible(c.visible());
    if (c.kind() == ui::Kind::MenuItem) {
        // checkable only while checked: an unchecked item shows no box
        a->setCheckable(c.checked());
        a->setChecked(c.checked());
        const QKeySequence key(toqt(c.shortcut()));
        if (a->shortcut() != key)
            a->setShortcut(key);
    }
}

}  // namespace qcqt
