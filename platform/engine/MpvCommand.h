#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

struct mpv_handle;
struct mpv_node;

// A libmpv command with named arguments: a node map whose "name" entry is the command. Named
// arguments mean the same in every libmpv from 0.35 on, whereas positional ones moved (loadfile
// took an index as its fourth argument in 0.38, where per-file options used to be).
//
//   MpvCommand("seek").arg("target", "2.500").arg("flags", "absolute+exact").run(mpv);
class MpvCommand
{
public:
    using KeyValueList = std::vector<std::pair<QString, QString>>;

    explicit MpvCommand(const char* name);

    MpvCommand& arg(const char* name, const QString& value);
    // A key/value list argument (loadfile's "options"), each name and value kept apart.
    MpvCommand& arg(const char* name, const KeyValueList& values);

    // mpv's status (negative on failure). A result node, when asked for, must be freed with
    // mpv_free_node_contents() after a successful run.
    int run(mpv_handle* mpv, mpv_node* result = nullptr);

private:
    struct Argument {
        QByteArray name;
        QByteArray text;
        std::vector<std::pair<QByteArray, QByteArray>> list;
        bool isList = false;
    };

    std::vector<Argument> m_arguments;
};
