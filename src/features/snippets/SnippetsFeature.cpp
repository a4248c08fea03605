#include "features/snippets/SnippetsFeature.h"

namespace quillon {

SnippetsFeature::SnippetsFeature(Settings& settings)
    : BasicFeature(QStringLiteral("Snippets"))
    , m_settings(settings)
{
}

} // namespace quillon
