// Building the graph of a script and writing it as Graphviz dot or mermaid.
#include "tools/analysis/script_graph.h"

#include "murmex/conversation_flow.h"
#include "tools/analysis/shown_text.h"
#include "tools/analysis/unit_text.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>

namespace murmex::tool {

namespace {

// Characters of a question on an edge; the rest of the label says how it works.
constexpr size_t EDGE_QUESTION_CHARACTERS = 32;
// Characters of a name in a node.
constexpr size_t NODE_NAME_CHARACTERS = 32;

enum class EdgeKind {
    Step,   // the character moves to another of its states
    Switch, // the conversation goes on with another character
    End,    // the conversation ends and "Intro" starts again
    Fail,   // next state -99: the player stops
};

struct Node {
    std::string id;
    std::string label;
    // Index of the character whose block holds the node; -1 for the nodes of
    // missing characters and of the failure.
    int32_t character = -1;
    // Drawn as a start that the shown character leads to, outside its block.
    bool external = false;
};

struct Edge {
    std::string from;
    std::string to;
    std::string label;
    EdgeKind kind;
};

struct Graph {
    // Keyed by id, so each node is declared once.
    std::map<std::string, Node> nodes;
    std::vector<Edge> edges;
};

std::string stateId(int32_t character, int32_t state) {
    return "c" + std::to_string(character) + "s" + (state < 0 ? "m" : "") +
           std::to_string(state < 0 ? -static_cast<int64_t>(state) : state);
}

class GraphBuilder {
  public:
    explicit GraphBuilder(const ScriptModel& engine) : engine(engine) {}

    Graph build(int32_t only) {
        for (int32_t c = 0; c < engine.characterCount; ++c) {
            if (engine.characters[c] != nullptr && (only < 0 || only == c)) {
                addCharacter(c);
            }
        }
        return std::move(graph);
    }

  private:
    std::string nameOf(int32_t c) const {
        return shortText(engine.characters[c]->name, NODE_NAME_CHARACTERS);
    }

    std::string stateNode(int32_t c, int32_t state, bool external) {
        const std::string id = stateId(c, state);
        auto [node, isNew] = graph.nodes.try_emplace(id);
        if (isNew) {
            node->second = Node{id, nameOf(c) + ": " + std::to_string(state), c, external};
        } else if (!external) {
            node->second.external = false;
        }
        return id;
    }

    // The start of the named character, or a node that says it is missing.
    std::string startNode(const char* name, bool fromShownCharacter, int32_t shown) {
        const int32_t target = engine.indexOfCharacter(name);
        if (target >= 0) {
            return stateNode(target, 0, fromShownCharacter && target != shown);
        }
        const std::string label = shortText(name, NODE_NAME_CHARACTERS);
        auto [id, isNew] =
            missingIds.try_emplace(label, "missing" + std::to_string(missingIds.size()));
        if (isNew) {
            graph.nodes[id->second] = Node{id->second, "\"" + label + "\" (missing)", -1, true};
        }
        return id->second;
    }

    void addCharacter(int32_t c) {
        const Character& character = *engine.characters[c];
        stateNode(c, 0, false);
        for (int32_t u = 0; u < character.unitCount; ++u) {
            const TalkUnit& unit = *character.units[u];
            stateNode(c, unit.state, false);
            const UnitEffect effect = unitEffect(unit);
            if (effect == UnitEffect::Opens) {
                // Initial answers are shown, never chosen: no edge.
                continue;
            }
            Edge edge{stateNode(c, unit.state, false), "", edgeLabel(unit), EdgeKind::Step};
            if (effect == UnitEffect::HandsOver) {
                // Without ACT_COMM the player takes the answer for the name.
                edge.kind = EdgeKind::Switch;
                edge.to = startNode(handOverName(unit), true, c);
            } else if (effect == UnitEffect::Stops) {
                edge.kind = EdgeKind::Fail;
                edge.to = "fail";
                graph.nodes.try_emplace("fail", Node{"fail", "player stops (-99)", -1, true});
            } else if (effect == UnitEffect::Ends) {
                edge.kind = EdgeKind::End;
                edge.to = startNode(START_CHARACTER, true, c);
            } else {
                edge.to = stateNode(c, unit.nextState, false);
            }
            graph.edges.push_back(std::move(edge));
        }
    }

    static std::string edgeLabel(const TalkUnit& unit) {
        // As the window shows the question: its mnemonic's & taken out.
        const std::string question =
            withoutMnemonics(unit.question != nullptr ? unit.question : "");
        std::string label = "\"" + shortText(question.c_str(), EDGE_QUESTION_CHARACTERS) + "\"";
        const std::string conditions = conditionsText(unit);
        if (!conditions.empty()) {
            label += "\n[" + conditions + "]";
        }
        const std::string action = actionText(unit);
        if (!action.empty() && unit.action != ACT_COMM) {
            label += "\n/ " + action;
        }
        return label;
    }

    const ScriptModel& engine;
    Graph graph;
    // Node id of each missing character, by its shown name.
    std::map<std::string, std::string> missingIds;
};

void writeDot(std::ostream& out, const ScriptModel& engine, const Graph& graph) {
    // Edge labels take room between the ranks; a little more between the
    // nodes of a rank keeps a label clear of the block's title above it.
    out << "digraph murmex {\n"
        << "  rankdir=LR;\n"
        << "  nodesep=0.5;\n"
        << "  node [shape=box, style=rounded];\n";
    std::map<int32_t, std::vector<const Node*>> byCharacter;
    for (const auto& [id, node] : graph.nodes) {
        if (node.character >= 0 && !node.external) {
            byCharacter[node.character].push_back(&node);
        } else {
            out << "  " << id << " [label=" << dotQuoted(node.label)
                << (node.character < 0 ? ", color=red, fontcolor=red" : ", shape=ellipse")
                << "];\n";
        }
    }
    for (const auto& [c, nodes] : byCharacter) {
        out << "  subgraph cluster_" << c << " {\n"
            << "    label="
            << dotQuoted(shortText(engine.characters[c]->name, NODE_NAME_CHARACTERS)) << ";\n";
        for (const Node* node : nodes) {
            out << "    " << node->id << " [label=" << dotQuoted(node->label) << "];\n";
        }
        out << "  }\n";
    }
    for (const Edge& edge : graph.edges) {
        // Hand-overs often join two starts of one rank both ways, and dot
        // lays the labels of such a pair on top of each other; an external
        // label is placed once the layout stands, clear of the others.
        const char* label = edge.kind == EdgeKind::Switch ? "xlabel" : "label";
        out << "  " << edge.from << " -> " << edge.to << " [" << label << "="
            << dotQuoted(edge.label);
        switch (edge.kind) {
        case EdgeKind::Switch:
            out << ", style=dashed";
            break;
        case EdgeKind::End:
            out << ", style=dotted";
            break;
        case EdgeKind::Fail:
            out << ", color=red";
            break;
        case EdgeKind::Step:
            break;
        }
        out << "];\n";
    }
    out << "}\n";
}

void writeMermaid(std::ostream& out, const ScriptModel& engine, const Graph& graph) {
    out << "flowchart LR\n";
    std::map<int32_t, std::vector<const Node*>> byCharacter;
    for (const auto& [id, node] : graph.nodes) {
        if (node.character >= 0 && !node.external) {
            byCharacter[node.character].push_back(&node);
        } else if (node.character < 0) {
            out << "  " << id << "{{" << mermaidQuoted(node.label) << "}}\n";
        } else {
            out << "  " << id << "([" << mermaidQuoted(node.label) << "])\n";
        }
    }
    for (const auto& [c, nodes] : byCharacter) {
        out << "  subgraph ch" << c << " ["
            << mermaidQuoted(shortText(engine.characters[c]->name, NODE_NAME_CHARACTERS)) << "]\n";
        for (const Node* node : nodes) {
            out << "    " << node->id << "[" << mermaidQuoted(node->label) << "]\n";
        }
        out << "  end\n";
    }
    for (const Edge& edge : graph.edges) {
        const char* arrow = edge.kind == EdgeKind::Step ? "-->" : "-.->";
        out << "  " << edge.from << " " << arrow << "|" << mermaidQuoted(edge.label) << "| "
            << edge.to << "\n";
    }
}

} // namespace

std::string dotQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string mermaidQuoted(const std::string& text) {
    // Mermaid reads #name; and #number; as entities, and Markdown and HTML
    // characters inside labels; everything that could be taken so is written
    // as an entity.
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "#quot;";
            break;
        case '#':
            quoted += "#35;";
            break;
        case '<':
            quoted += "#lt;";
            break;
        case '>':
            quoted += "#gt;";
            break;
        case '&':
            quoted += "#amp;";
            break;
        case '|':
            quoted += "#124;";
            break;
        case '`':
            quoted += "#96;";
            break;
        case '\n':
            quoted += "<br>";
            break;
        default:
            quoted += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
            break;
        }
    }
    return quoted + "\"";
}

bool writeGraph(std::ostream& out, const ScriptModel& engine, GraphFormat format,
                const std::string& onlyCharacter) {
    int32_t only = -1;
    if (!onlyCharacter.empty()) {
        only = engine.indexOfCharacter(onlyCharacter.c_str());
        if (only < 0) {
            return false;
        }
    }
    const Graph graph = GraphBuilder(engine).build(only);
    if (format == GraphFormat::Dot) {
        writeDot(out, engine, graph);
    } else {
        writeMermaid(out, engine, graph);
    }
    return true;
}

} // namespace murmex::tool
