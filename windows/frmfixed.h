// SPDX-License-Identifier: MIT
// The fixed-point window: a number from 0 to 1023 with ten bits before and
// ten after the binary point, and the value those bits really hold.
#pragma once

#include "windows/converterwindow.h"

#include <memory>

namespace Ui {
class frmFixed;
}

class frmFixed : public quorvex::ConverterWindow {
    Q_OBJECT
public:
    explicit frmFixed(QWidget *parent = nullptr);
    ~frmFixed() override;

    void cmdConvert_Click();
    // Sets Cancel when the text of txtDenary is not a number from 0 to 1023;
    // the focus then stays in txtDenary.
    void txtDenary_Validate(bool &Cancel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void showEvent(QShowEvent *event) override;

private:
    bool focusMayLeaveInput();
    bool pressMovesFocusAway(const QPoint &position) const;

    std::unique_ptr<Ui::frmFixed> ui;
    bool m_swallowRelease = false;
};
