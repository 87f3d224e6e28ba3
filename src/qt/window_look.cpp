#include "qt/window_look.h"

namespace qcqt {

QPalette fixedlook(const QColor& background)
{
    // Qt derives the bevel shades from the button and window colours.
    QPalette p(background, background);
    const QColor black(Qt::black), white(Qt::white), grey(disabledtext);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::WindowText, black);
        p.setColor(g, QPalette::Text, black);
        p.setColor(g, QPalette::ButtonText, black);
        p.setColor(g, QPalette::Base, white);
        p.setColor(g, QPalette::AlternateBase, background.lighter(104));
        p.setColor(g, QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
        p.setColor(g, QPalette::HighlightedText, white);
        p.setColor(g, QPalette::PlaceholderText, grey);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, grey);
    p.setColor(QPalette::Disabled, QPalette::Text, grey);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, grey);
    p.setColor(QPalette::Disabled, QPalette::Base, background);
    p.setColor(QPalette::Disabled, QPalette::Button, background);
    p.setColor(QPalette::Disabled, QPalette::Window, background);
    p.setColor(QPalette::Disabled, QPalette::Highlight, grey);
    return p;
}

}  // namespace qcqt
