// SPDX-License-Identifier: MIT
// What the converter windows share: how they look as windows, and the modal
// show that the menu opens them with.
#pragma once

#include <QWidget>

// A converter window: a fixed-size top-level window with a close box and no
// owner. Building one is loading it; destroying it discards its contents.
class ConverterWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConverterWindow(QWidget *parent = nullptr);

    // Shows the window application-modal and returns when the user has
    // closed it; the windows behind take no input meanwhile.
    void showModal();
};
