#include "features/snippets/SnippetsFeature.h"

#include "support/AppFiles.h"

namespace quillon {

SnippetsFeature::SnippetsFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Snippets"))
    , m_settings(settings)
    , m_store(AppFiles::root() + QStringLiteral("/Snippets.json"))
{
}

} // namespace quillon
