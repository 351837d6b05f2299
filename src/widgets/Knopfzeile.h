#pragma once

#include <QPushButton>
#include <functional>
#include <span>

class QHBoxLayout;
class QWidget;

namespace kv {

/// One button of a window's button row: its text (with its & key) and tool tip, UTF-8.
struct Knopfangabe {
    const char* text;
    const char* tipp;
};

/// The row of push buttons at the foot of a list window: buttons "Command1_<i>" in the given
/// order, none of them a default button (Return belongs to the list), each calling geklickt(i).
/// dehnungVor: the index of the first button pushed to the right end (-1: none). The buttons
/// are written to knoepfe, which has room for all of them.
QHBoxLayout* Knopfzeile(QWidget* eltern, std::span<const Knopfangabe> angaben,
    std::span<QPushButton*> knoepfe, const std::function<void(int)>& geklickt, int dehnungVor = -1);

} // namespace kv
