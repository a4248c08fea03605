#include "features/ocr/OCRFeature.h"

namespace quillon {

OCRFeature::OCRFeature()
    : BasicFeature(QStringLiteral("OCR"))
{
}

} // namespace quillon
