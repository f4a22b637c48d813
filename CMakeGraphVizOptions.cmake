# What `cmake --graphviz` draws (scripts/test makes build/artifacts/modules.png of it): the
# modules' libraries and the links between them, nothing else. Every arrow runs from a module
# to one below it.
set(GRAPHVIZ_GRAPH_NAME "Tavix modules")
set(GRAPHVIZ_EXECUTABLES FALSE)
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_INTERFACE_LIBS FALSE)
set(GRAPHVIZ_OBJECT_LIBS FALSE)
set(GRAPHVIZ_CUSTOM_TARGETS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^tavix_test_")
