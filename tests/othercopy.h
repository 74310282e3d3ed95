#pragma once

#include "data.h"
#include "gzlr.h"

#include <QScopeGuard>
#include <memory>

// Another copy of the program on the same database: a data module of its own, with its own entry
// window shown beside the one the test runs. Whatever it does runs with its module as the
// program's DM, as it would in its own process; ending it closes its connection, as the end
// of its process would.
class OtherCopy {
public:
    OtherCopy() : m_module(std::make_unique<TDM>()) {}
    ~OtherCopy() { end(); }

    template <typename Action> void act(Action action) {
        TDM *const own = DM;
        DM = m_module.get();
        const auto back = qScopeGuard([own] { DM = own; });
        action();
    }

    Tfrm_gzlr &openEntry() {
        act([this] {
            m_window = std::make_unique<Tfrm_gzlr>();
            m_window->FormCreate();
            m_window->show();
        });
        return *m_window;
    }

    // As a killed process: nothing is closed or released on the way.
    void end() {
        m_window.reset();
        m_module.reset();
    }

private:
    std::unique_ptr<TDM> m_module;
    std::unique_ptr<Tfrm_gzlr> m_window;
};
