// Writes the validation page: qavsec-validation OUT.md
#include <exception>
#include <fstream>
#include <iostream>

#include "code_table.h"
#include "validation_table.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qavsec-validation OUT.md\n";
        return 2;
    }
    try {
        std::vector<qav::validation::SectionTable> tables;
        for (int i = 0; i < qav::validation::sectionCount(); ++i) {
            qav::validation::SectionTable t = qav::validation::programValues(i);
            std::string name, description, mesh;
            const qav::SectionModel m = qav::validation::buildSection(i, name, description, mesh);
            qav::validation::addReference(t, m);
            if (qav::validation::listedWithSteelGrid(i)) {
                using qav::validation::MeshChoice;
                qav::validation::SectionTable d =
                    qav::validation::programValues(i, MeshChoice::Default);
                qav::validation::addReference(
                    d,
                    qav::validation::buildSection(i, name, description, mesh, MeshChoice::Default));
                t.defaultMeshWorst = qav::validation::worstDifference(d);
            }
            std::cerr << t.name << ": " << t.rows.size() << " rows\n";
            tables.push_back(std::move(t));
        }
        for (int i = 0; i < qav::validation::codeTableCount(); ++i) {
            qav::validation::SectionTable t = qav::validation::codeProgramValues(i);
            qav::validation::SectionTable named;
            const qav::SectionModel m = qav::validation::buildCodeSection(i, named);
            qav::validation::addCodeReference(t, m);
            std::cerr << t.name << ": " << t.rows.size() << " rows, worst "
                      << qav::validation::worstDifference(t) << " %\n";
            tables.push_back(std::move(t));
        }
        std::ofstream out(argv[1], std::ios::binary);
        out << qav::validation::markdown(tables);
        if (!out) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
