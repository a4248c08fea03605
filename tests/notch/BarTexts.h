#pragma once

#include "notch/NotchBarView.h"

#include <QStringList>

namespace quillon::testing {

/// Every text a bar shows, its items' first and then its caption.
inline QStringList barTexts(const NotchBarView* bar)
{
    QStringList texts;
    if (!bar)
        return texts;
    for (const auto& placed : bar->layout().items()) {
        for (const auto& part : placed.view.parts) {
            if (!part.text.isEmpty())
                texts << part.text;
        }
    }
    if (const auto& caption = bar->layout().caption()) {
        for (const auto& part : caption->view.parts) {
            if (!part.text.isEmpty())
                texts << part.text;
        }
    }
    return texts;
}

} // namespace quillon::testing
