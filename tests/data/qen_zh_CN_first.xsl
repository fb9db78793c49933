<?xml version="1.0" encoding="utf-8"?>
<!-- The page of an exported simulation: a handout that prints cleanly and
     needs nothing but its own picture files. The program shows, prints and
     saves as PDF the same page. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="utf-8" indent="yes"/>

  <xsl:template match="/quenor">
    <html>
      <head>
        <title>Quenor® 模拟</title>
        <style type="text/css">
          body { font-family: Verdana, "Noto Sans CJK SC", "WenQuanYi Micro Hei", "Microsoft YaHei", sans-serif; font-size: 12px; color: #1a1a1a; }
          h1 { font-size: 25px; font-weight: bold; color: #1f3f66; margin: 0px; }
          table.data { font-size: 11px; border-collapse: collapse; margin-bottom: 12px; }
          table.data td { border: 1px solid #c8c8c8; padding: 3px 6px; }
          td.num { text-align: right; }
          td.name { font-weight: bold; }
          table.box { font-size: 12px; background-color: #f6f6f6; border: 1px solid #b4b4b4; border-collapse: collapse; }
          table.box td { padding: 4px 8px; }
          td.label { font-weight: bold; width: 110px; }
          td.description { white-space: pre-wrap; }
          th.patient { border: 1px solid #3f6fa8; background-color: #e1ebf7; padding: 3px 6px; }
          th.agent { border: 1px solid #4f8f4f; background-color: #e2f1e2; padding: 3px 6px; }
          th.printout { border: 1px solid #a8793f; background-color: #f7ecdd; padding: 3px 6px; }
          td.setting { border: 1px solid #8c8c8c; background-color: #eeeeee; font-weight: bold; padding: 3px 6px; }
          .caption { font-size: 14px; font-weight: bold; color: #1f3f66; margin-top: 14px; margin-bottom: 4px; }
          .graph { page-break-before: always; text-align: center; }
        </style>
      </head>
      <body>
        <table width="100%" cellspacing="0" cellpadding="0">
          <tr>
            <xsl:if test="@iconPath != 'missing' and @iconPath != ''">
              <td width="140" valign="middle">
                <img src="{@iconPath}" width="128" alt=""/>
              </td>
            </xsl:if>
            <td valign="middle"><h1>Quenor® 模拟</h1></td>
          </tr>
        </table>
        <br/>
        <table class="box" width="100%" cellspacing="0">
          <tr>
            <td class="label">日期/时间：</td>
            <td><xsl:value-of select="@datetime"/></td>
          </tr>
          <tr>
            <td class="label" valign="top">描述：</td>
            <td class="description"><xsl:value-of select="@description"/></td>
          </tr>
        </table>
        <hr/>
        <table width="100%" cellspacing="0" cellpadding="0">
          <tr>
            <td valign="top" width="50%">
              <xsl:apply-templates select="params/patient"/>
            </td>
            <td width="16"></td>
            <td valign="top" width="50%">
              <xsl:apply-templates select="params/agents"/>
            </td>
          </tr>
        </table>
        <xsl:if test="@printPrintout = 'true'">
          <xsl:apply-templates select="settings"/>
        </xsl:if>
        <xsl:if test="@printGraph = 'true' and @externalImage != ''">
          <div class="graph" align="center">
            <p class="caption" align="center">曲线图</p>
            <img src="{@externalImage}" alt="曲线图">
              <xsl:if test="@imageWidth">
                <xsl:attribute name="width"><xsl:value-of select="@imageWidth"/></xsl:attribute>
                <xsl:attribute name="height"><xsl:value-of select="@imageHeight"/></xsl:attribute>
              </xsl:if>
            </img>
          </div>
        </xsl:if>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="patient">
    <table class="data" width="100%" cellspacing="0">
      <tr>
        <th class="patient" colspan="2" align="left">患者参数</th>
        <th class="patient" align="right">血流分配</th>
      </tr>
      <tr>
        <td class="name">体重</td>
        <td class="num"><xsl:value-of select="format-number(weight/@value, '#0.##')"/>
          <xsl:text> </xsl:text><xsl:value-of select="weight/@unit"/></td>
        <td></td>
      </tr>
      <tr>
        <td class="name">血管丰富组</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@vrg, '#0.##')"/> L</td>
        <td class="num"><xsl:value-of select="format-number(flows/@vrg, '##%')"/></td>
      </tr>
      <tr>
        <td class="name">肌肉</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@mus, '#0.##')"/> L</td>
        <td class="num"><xsl:value-of select="format-number(flows/@mus, '##%')"/></td>
      </tr>
      <tr>
        <td class="name">脂肪</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@fat, '#0.##')"/> L</td>
        <td class="num"><xsl:value-of select="format-number(flows/@fat, '##%')"/></td>
      </tr>
      <tr>
        <td class="name">肺泡</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@alv, '#0.##')"/> L</td>
        <td></td>
      </tr>
      <tr>
        <td class="name">静脉血</td>
        <td class="num"><xsl:value-of select="format-number(volumes/@ven, '#0.##')"/> L</td>
        <td></td>
      </tr>
    </table>
  </xsl:template>

  <xsl:template match="agents">
    <table class="data" width="100%" cellspacing="0">
      <tr>
        <th class="agent" rowspan="2" align="left">麻醉药</th>
        <th class="agent" colspan="3">溶解度</th>
        <th class="agent" rowspan="2" align="right">挥发性</th>
      </tr>
      <tr>
        <th class="agent" align="right">血液</th>
        <th class="agent" align="right">血管丰富组</th>
        <th class="agent" align="right">脂肪</th>
      </tr>
      <xsl:for-each select="agent">
        <tr>
          <td class="name"><xsl:value-of select="@name"/></td>
          <td class="num"><xsl:value-of select="format-number(@lambdaBlood, '#0.##')"/></td>
          <td class="num"><xsl:value-of select="format-number(@lambdaVrg, '#0.##')"/></td>
          <td class="num"><xsl:value-of select="format-number(@lambdaFat, '##0.##')"/></td>
          <td class="num"><xsl:value-of select="@volatility"/></td>
        </tr>
      </xsl:for-each>
    </table>
  </xsl:template>

  <xsl:template match="settings">
    <p class="caption">设置记录</p>
    <table class="data printout" width="100%" cellspacing="0">
      <tr>
        <th class="printout" align="left">时间</th>
        <th class="printout" align="left">药物</th>
        <th class="printout" align="right">挥发罐 (%atm)</th>
        <th class="printout" align="right">注射量</th>
        <th class="printout" align="left">回路</th>
        <th class="printout" align="right">新鲜气流 (L/min)</th>
        <th class="printout" align="right">肺泡通气 (L/min)</th>
        <th class="printout" align="right">心输出量 (L/min)</th>
      </tr>
      <xsl:for-each select="setting">
        <tr>
          <td class="setting"><xsl:value-of select="@time"/></td>
          <td class="setting"></td>
          <td class="setting"></td>
          <td class="setting"></td>
          <td class="setting"><xsl:value-of select="@circuit"/></td>
          <td class="setting" align="right"><xsl:value-of select="format-number(@fgf, '##0.##')"/></td>
          <td class="setting" align="right"><xsl:value-of select="format-number(@va, '##0.##')"/></td>
          <td class="setting" align="right"><xsl:value-of select="format-number(@co, '##0.##')"/></td>
        </tr>
        <xsl:for-each select="agentsettings/agentsetting">
          <tr>
            <td></td>
            <td><xsl:value-of select="@agentname"/></td>
            <td class="num"><xsl:value-of select="format-number(@del, '##0.##')"/></td>
            <td class="num"><xsl:value-of select="format-number(@inject, '##0')"/></td>
            <td></td>
            <td></td>
            <td></td>
            <td></td>
          </tr>
        </xsl:for-each>
      </xsl:for-each>
    </table>
  </xsl:template>
</xsl:stylesheet>
