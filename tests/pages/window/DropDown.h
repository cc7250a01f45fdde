#pragma once
// Choosing an item of a drop-down list as the user does: its list opens and the item is
// clicked, so the choice reaches the page through the list's own signals.

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include "support/WaitUntil.h"

namespace corvane::pages::test {

inline void chooseByClicking(QComboBox* box, int index) {
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(index >= 0 && index < box->count()) << "no item " << index;
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(corvane::test::waitUntil([&] { return view->isVisible(); }, 60000));
    const QModelIndex item = view->model()->index(index, box->modelColumn());
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    ASSERT_TRUE(corvane::test::waitUntil([&] { return !view->isVisible(); }, 60000));
    ASSERT_EQ(box->currentIndex(), index);
}

} // namespace corvane::pages::test
