#pragma once
// Answers the next modal dialog of type D: `act` runs on it once it is shown.
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace tessora::test {

template <class D> void OnNextModal(std::function<void(D*)> act) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, poll] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            act(d);
            *poll = nullptr; // breaks the cycle
            return;
        }
        QTimer::singleShot(5, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace tessora::test
