// libplatform.so holds no code of its own: it is the one library a module links against, and it
// brings in every layer library (platform/CMakeLists.txt).
