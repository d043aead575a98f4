module fixture.demo {
    requires java.base;
    exports fixture.demo;
}
