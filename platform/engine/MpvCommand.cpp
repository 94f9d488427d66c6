#include "platform/engine/MpvCommand.h"

#include "platform/text/NativeName.h"

#include <mpv/client.h>

namespace {

// The nodes of one map. They point into byte arrays that must outlive them, and the map must not
// move once node() was taken.
class NodeMap
{
public:
    void add(QByteArray& key, const mpv_node& value)
    {
        m_keys.push_back(key.data());
        m_values.push_back(value);
    }

    mpv_node node()
    {
        m_list.num = static_cast<int>(m_values.size());
        m_list.values = m_values.data();
        m_list.keys = m_keys.data();
        mpv_node map{};
        map.format = MPV_FORMAT_NODE_MAP;
        map.u.list = &m_list;
        return map;
    }

private:
    std::vector<char*> m_keys;
    std::vector<mpv_node> m_values;
    mpv_node_list m_list{};
};

mpv_node stringNode(QByteArray& text)
{
    mpv_node node{};
    node.format = MPV_FORMAT_STRING;
    node.u.string = text.data();
    return node;
}

} // namespace

MpvCommand::MpvCommand(const char* name)
{
    m_arguments.push_back({"name", name, {}, false});
}

MpvCommand& MpvCommand::arg(const char* name, const QString& value)
{
    // A path keeps the bytes of its names (mpv opens files by them).
    m_arguments.push_back({name, NativeName::toBytes(value), {}, false});
    return *this;
}

MpvCommand& MpvCommand::arg(const char* name, const KeyValueList& values)
{
    Argument argument{name, {}, {}, true};
    for (const auto& [key, value] : values)
        argument.list.emplace_back(key.toUtf8(), value.toUtf8());
    m_arguments.push_back(std::move(argument));
    return *this;
}

int MpvCommand::run(mpv_handle* mpv, mpv_node* result)
{
    // Sized once, so no map moves while the command's nodes point at it.
    std::vector<NodeMap> lists(m_arguments.size());
    NodeMap command;
    for (size_t i = 0; i < m_arguments.size(); ++i) {
        Argument& argument = m_arguments[i];
        if (!argument.isList) {
            command.add(argument.name, stringNode(argument.text));
            continue;
        }
        for (auto& [key, value] : argument.list)
            lists[i].add(key, stringNode(value));
        command.add(argument.name, lists[i].node());
    }
    mpv_node node = command.node();
    return mpv_command_node(mpv, &node, result);
}
