#include "store/XmlDocument.h"

#include <gtest/gtest.h>

TEST(XmlDocument, placeholder)
{
    EXPECT_TRUE(XmlDocument().isNull());
}
