#include "features/snippets/Snippet.h"

#include "support/TextPreview.h"

namespace quillon {

QString Snippet::preview() const
{
    return TextPreview::truncated(TextPreview::firstLine(body), 60);
}

} // namespace quillon
