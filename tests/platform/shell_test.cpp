#include <gtest/gtest.h>

#include <QDir>
#include <QUrl>

#include "platform/shell.h"
#include "urlcatcher.h"

TEST(Shell, OpensAddressesMailAndLocalPaths) {
    UrlCatcher catcher;
    EXPECT_TRUE(ShellOpen("http://www.example.com/"));
    EXPECT_TRUE(ShellOpen("mailto:help@example.com?subject=Dero Video Converter&body=a b\n@ c"));
    EXPECT_TRUE(ShellOpen("/tmp/Dero Output/"));
    EXPECT_TRUE(ShellOpen("relative file.txt"));
    EXPECT_FALSE(ShellOpen(""));

    ASSERT_EQ(catcher.opened.size(), 4);
    EXPECT_EQ(catcher.opened[0].host(), "www.example.com");
    const QUrl& mail = catcher.opened[1];
    EXPECT_TRUE(mail.isValid());
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), "help@example.com");
    EXPECT_EQ(mail.query(QUrl::FullyDecoded), "subject=Dero Video Converter&body=a b\n@ c");
    EXPECT_EQ(catcher.opened[2].toLocalFile(), "/tmp/Dero Output/");
    EXPECT_EQ(catcher.opened[3].toLocalFile(),
              QDir::current().absoluteFilePath("relative file.txt"));
}
