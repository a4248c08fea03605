#include "input/KeyCodes.h"

namespace quillon {

const std::unordered_map<uint16_t, QChar> KeyCodes::letterByKeyCode = {
    {0, 'a'},  {1, 's'},  {2, 'd'},  {3, 'f'},  {4, 'h'},  {5, 'g'},  {6, 'z'},  {7, 'x'},  {8, 'c'},
    {9, 'v'},  {11, 'b'}, {12, 'q'}, {13, 'w'}, {14, 'e'}, {15, 'r'}, {16, 'y'}, {17, 't'}, {31, 'o'},
    {32, 'u'}, {34, 'i'}, {35, 'p'}, {37, 'l'}, {38, 'j'}, {40, 'k'}, {45, 'n'}, {46, 'm'},
};

const std::unordered_map<uint16_t, QChar> KeyCodes::digitByKeyCode = {
    {18, '1'}, {19, '2'}, {20, '3'}, {21, '4'}, {22, '6'}, {23, '5'}, {25, '9'}, {26, '7'}, {28, '8'},
};

const std::unordered_map<uint16_t, QChar> KeyCodes::mediaByKeyCode = {
    {43, ','},
    {44, '/'},
    {47, '.'},
};

std::optional<uint16_t> KeyCodes::keyCode(QChar character)
{
    constexpr uint16_t semicolonKey = 41, graveKey = 50;
    if (character == QChar(':'))
        return semicolonKey;
    if (character == QChar('~'))
        return graveKey;
    const QChar lower = character.toLower();
    for (const auto* table : {&letterByKeyCode, &digitByKeyCode, &mediaByKeyCode}) {
        for (const auto& [code, ch] : *table) {
            if (ch == lower)
                return code;
        }
    }
    return std::nullopt;
}

} // namespace quillon
