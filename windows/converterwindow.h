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

protected:
    // Lets every text box that has no length limit of its own take text of
    // any length (a line edit otherwise keeps at most 32,767 characters and
    // drops the rest of a longer paste). Call once the layout is set up.
    void liftTextLengthLimits();
};
