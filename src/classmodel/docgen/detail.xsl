<?xml version="1.0" encoding="UTF-8"?>
<!-- The pages of the packages of the model documentation, each with its classes, then its
     interfaces, each with its relations, attributes and operations. All pages come from one
     transformation, so the keys below are built once for the whole model: the result is a
     "pages" element with a "page" element, carrying the package's identifier, per package. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes"
              doctype-public="-//W3C//DTD HTML 4.01//EN"
              doctype-system="http://www.w3.org/TR/html4/strict.dtd"/>

  <!-- Every definition by its identifier; the XMI text refers to them by xmi.idref. -->
  <xsl:key name="classifier"
           match="Foundation.Core.Class[@xmi.id] | Foundation.Core.Interface[@xmi.id]
                  | Foundation.Core.DataType[@xmi.id]"
           use="@xmi.id"/>
  <xsl:key name="generalization" match="Foundation.Core.Generalization[@xmi.id]" use="@xmi.id"/>
  <xsl:key name="abstraction" match="Foundation.Core.Abstraction[@xmi.id]" use="@xmi.id"/>

  <!-- The placeholder package of types the model only names. Its identifier is compared with
       the owner's: comparing names would read through every child of a large package for
       each type shown. -->
  <xsl:variable name="unknown_package"
                select="string(//Model_Management.Package[Foundation.Core.ModelElement.name
                                                          = '((Unknown))'][1]/@xmi.id)"/>

  <xsl:template match="/">
    <pages>
      <xsl:for-each select="//Model_Management.Package[@xmi.id]">
        <page id="{@xmi.id}">
          <xsl:call-template name="package"/>
        </page>
      </xsl:for-each>
    </pages>
  </xsl:template>

  <xsl:template name="package">
    <xsl:variable name="package_id" select="string(@xmi.id)"/>
    <html>
      <head>
        <meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/>
        <title><xsl:value-of select="concat('Package: ', Foundation.Core.ModelElement.name)"/></title>
        <link rel="stylesheet" type="text/css" href="styles.css"/>
      </head>
      <body>
        <table>
          <tr>
            <td class="p_name">
              <xsl:value-of select="concat('Package: ', Foundation.Core.ModelElement.name)"/>
            </td>
            <td class="t_cell"><a href="p_{$package_id}_diagram.html">Diagram</a></td>
            <td class="t_cell"><a href="overview.html">Back to overview</a></td>
          </tr>
        </table>
        <xsl:for-each select="Foundation.Core.Class">
          <xsl:sort select="Foundation.Core.ModelElement.name"/>
          <xsl:call-template name="classifier">
            <xsl:with-param name="word" select="'class'"/>
          </xsl:call-template>
        </xsl:for-each>
        <xsl:for-each select="Foundation.Core.Interface">
          <xsl:sort select="Foundation.Core.ModelElement.name"/>
          <xsl:call-template name="classifier">
            <xsl:with-param name="word" select="'interface'"/>
          </xsl:call-template>
        </xsl:for-each>
      </body>
    </html>
  </xsl:template>

  <xsl:template name="classifier">
    <xsl:param name="word"/>
    <a name="{@xmi.id}"></a>
    <table width="100%">
      <tr>
        <td class="ClassTableHeader">
          <xsl:value-of select="concat(Foundation.Core.ModelElement.name, ' ', $word)"/>
        </td>
      </tr>
    </table>
    <xsl:choose>
      <xsl:when test="$word = 'class'">
        <xsl:call-template name="relation-line">
          <xsl:with-param name="caption" select="'Inherits from: '"/>
          <xsl:with-param name="ids" select="key('generalization',
              Foundation.Core.GeneralizableElement.generalization/Foundation.Core.Generalization/@xmi.idref)
              /Foundation.Core.Generalization.parent/*/@xmi.idref"/>
        </xsl:call-template>
        <xsl:call-template name="relation-line">
          <xsl:with-param name="caption" select="'Implements: '"/>
          <xsl:with-param name="ids" select="key('abstraction',
              Foundation.Core.ModelElement.clientDependency/Foundation.Core.Abstraction/@xmi.idref)
              /Foundation.Core.Dependency.supplier/*/@xmi.idref"/>
        </xsl:call-template>
        <xsl:call-template name="relation-line">
          <xsl:with-param name="caption" select="'Subclasses: '"/>
          <xsl:with-param name="ids" select="key('generalization',
              Foundation.Core.GeneralizableElement.specialization/Foundation.Core.Generalization/@xmi.idref)
              /Foundation.Core.Generalization.child/*/@xmi.idref"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise>
        <xsl:call-template name="relation-line">
          <xsl:with-param name="caption" select="'Implementing classes: '"/>
          <xsl:with-param name="ids" select="key('abstraction',
              Foundation.Core.ModelElement.supplierDependency/Foundation.Core.Abstraction/@xmi.idref)
              /Foundation.Core.Dependency.client/*/@xmi.idref"/>
        </xsl:call-template>
      </xsl:otherwise>
    </xsl:choose>
    <xsl:variable name="features" select="Foundation.Core.Classifier.feature"/>
    <table>
      <tr><td class="tableheader" colspan="3">Attributes</td></tr>
      <tr>
        <td class="tableheader">Name</td>
        <td class="tableheader">Type</td>
        <td class="tableheader">Visibility</td>
      </tr>
      <xsl:for-each select="$features/Foundation.Core.Attribute">
        <xsl:sort select="Foundation.Core.ModelElement.visibility/@xmi.value"/>
        <tr>
          <td class="t_cell"><xsl:value-of select="Foundation.Core.ModelElement.name"/></td>
          <td class="t_cell">
            <xsl:call-template name="type">
              <xsl:with-param name="id" select="Foundation.Core.StructuralFeature.type/*/@xmi.idref"/>
            </xsl:call-template>
          </td>
          <td class="t_cell"><xsl:value-of select="Foundation.Core.ModelElement.visibility/@xmi.value"/></td>
        </tr>
      </xsl:for-each>
    </table>
    <table>
      <tr><td class="tableheader" colspan="4">Operations</td></tr>
      <tr>
        <td class="tableheader">Name</td>
        <td class="tableheader">Parameters</td>
        <td class="tableheader">Returns</td>
        <td class="tableheader">Visibility</td>
      </tr>
      <xsl:for-each select="$features/Foundation.Core.Operation">
        <xsl:sort select="Foundation.Core.ModelElement.visibility/@xmi.value"/>
        <xsl:variable name="parameters" select="Foundation.Core.BehavioralFeature.parameter/Foundation.Core.Parameter"/>
        <tr>
          <td class="t_cell"><xsl:value-of select="Foundation.Core.ModelElement.name"/></td>
          <td class="t_cell">
            <xsl:if test="$parameters[not(Foundation.Core.Parameter.kind/@xmi.value = 'return')]">
              <table>
                <xsl:for-each select="$parameters[not(Foundation.Core.Parameter.kind/@xmi.value = 'return')]">
                  <tr>
                    <td class="t_cell">
                      <xsl:call-template name="type">
                        <xsl:with-param name="id" select="Foundation.Core.Parameter.type/*/@xmi.idref"/>
                      </xsl:call-template>
                    </td>
                    <td class="t_cell"><xsl:value-of select="Foundation.Core.ModelElement.name"/></td>
                  </tr>
                </xsl:for-each>
              </table>
            </xsl:if>
          </td>
          <td class="t_cell">
            <xsl:call-template name="type">
              <xsl:with-param name="id" select="$parameters[Foundation.Core.Parameter.kind/@xmi.value = 'return']
                                                /Foundation.Core.Parameter.type/*/@xmi.idref"/>
            </xsl:call-template>
          </td>
          <td class="t_cell"><xsl:value-of select="Foundation.Core.ModelElement.visibility/@xmi.value"/></td>
        </tr>
      </xsl:for-each>
    </table>
  </xsl:template>

  <!-- A caption and the linked names of the classifiers, separated by ", "; nothing without any. -->
  <xsl:template name="relation-line">
    <xsl:param name="caption"/>
    <xsl:param name="ids"/>
    <xsl:if test="$ids">
      <p class="t_cell">
        <xsl:value-of select="$caption"/>
        <xsl:for-each select="$ids">
          <xsl:if test="position() &gt; 1">, </xsl:if>
          <xsl:call-template name="type">
            <xsl:with-param name="id" select="string(.)"/>
          </xsl:call-template>
        </xsl:for-each>
      </p>
    </xsl:if>
  </xsl:template>

  <!-- A classifier's name linked to its anchor on its package's page; placeholder types of
       "((Unknown))" have no page and are shown by name only. -->
  <xsl:template name="type">
    <xsl:param name="id"/>
    <xsl:variable name="classifier" select="key('classifier', string($id))[1]"/>
    <xsl:variable name="owner" select="$classifier/parent::Model_Management.Package"/>
    <xsl:choose>
      <xsl:when test="not($classifier)"/>
      <xsl:when test="$unknown_package != '' and $owner/@xmi.id = $unknown_package">
        <xsl:value-of select="$classifier/Foundation.Core.ModelElement.name"/>
      </xsl:when>
      <xsl:otherwise>
        <a href="p_{$owner/@xmi.id}.html#{$classifier/@xmi.id}">
          <xsl:value-of select="$classifier/Foundation.Core.ModelElement.name"/>
        </a>
      </xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
